#include "crt/CookieStream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace vela::crt {
namespace {

struct Cookie {
  int fd = -1;                      // -1 for a stream over memory
  bool text = false;
  std::vector<unsigned char> bytes;  // the memory stream's content, or the read chunk buffer
  size_t pos = 0;                   // unconsumed input is bytes[pos, end)
  size_t end = 0;
};

ssize_t ReadRetrying(int fd, unsigned char* out, size_t size) {
  ssize_t n;
  do {
    n = read(fd, out, size);
  } while (n < 0 && errno == EINTR);
  return n;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Reads the next chunk into the empty buffer. Returns the byte count, 0 at end, -1 on error.
ssize_t Fill(Cookie& c) {
  if (c.fd < 0) {
    return 0;
  }
  if (c.bytes.empty()) {
    c.bytes.resize(kRawChunkSize);
  }
  c.pos = c.end = 0;
  const ssize_t n = ReadRetrying(c.fd, c.bytes.data(), c.bytes.size());
  if (n > 0) {
    c.end = static_cast<size_t>(n);
  }
  return n;
}

// The buffer holds just a CR: moves it to the front and reads what follows. False when
// nothing follows (end of input or an error).
bool FillAfterCr(Cookie& c) {
  if (c.fd < 0) {
    return false;
  }
  c.bytes[0] = '\r';
  c.pos = 0;
  c.end = 1;
  const ssize_t n = ReadRetrying(c.fd, c.bytes.data() + 1, c.bytes.size() - 1);
  if (n <= 0) {
    return false;
  }
  c.end += static_cast<size_t>(n);
  return true;
}

ssize_t ReadText(Cookie& c, char* out, size_t size) {
  size_t produced = 0;
  while (produced < size) {
    if (c.pos == c.end) {
      // Hand over what we have rather than wait on a pipe for more.
      if (produced > 0) {
        break;
      }
      const ssize_t n = Fill(c);
      if (n <= 0) {
        return n;
      }
    }
    const unsigned char* p = c.bytes.data() + c.pos;
    const size_t n = std::min(c.end - c.pos, size - produced);
    const void* cr = std::memchr(p, '\r', n);
    const size_t plain = cr ? static_cast<size_t>(static_cast<const unsigned char*>(cr) - p) : n;
    std::memcpy(out + produced, p, plain);
    produced += plain;
    c.pos += plain;
    if (!cr) {
      continue;
    }
    if (c.pos + 1 == c.end && !FillAfterCr(c)) {
      out[produced++] = '\r';
      ++c.pos;
      continue;
    }
    const bool pair = c.bytes[c.pos + 1] == '\n';
    out[produced++] = pair ? '\n' : '\r';
    c.pos += pair ? 2 : 1;
  }
  return static_cast<ssize_t>(produced);
}

ssize_t CookieRead(void* cookie, char* out, size_t size) {
  Cookie& c = *static_cast<Cookie*>(cookie);
  if (c.text) {
    return ReadText(c, out, size);
  }
  if (c.pos == c.end && c.fd >= 0) {
    return ReadRetrying(c.fd, reinterpret_cast<unsigned char*>(out), size);
  }
  const size_t n = std::min(c.end - c.pos, size);
  std::memcpy(out, c.bytes.data() + c.pos, n);
  c.pos += n;
  return static_cast<ssize_t>(n);
}

// Read-ahead that the stream has not handed out yet is given back to the file, so that a
// write after a read lands where the reader stopped.
bool DropReadAhead(Cookie& c) {
  if (c.pos == c.end) {
    return true;
  }
  const off_t back = -static_cast<off_t>(c.end - c.pos);
  c.pos = c.end = 0;
  return lseek(c.fd, back, SEEK_CUR) >= 0;
}

ssize_t CookieWrite(void* cookie, const char* data, size_t size) {
  Cookie& c = *static_cast<Cookie*>(cookie);
  if (!DropReadAhead(c)) {
    return 0;
  }
  if (!c.text) {
    return WriteAll(c.fd, data, size) ? static_cast<ssize_t>(size) : 0;
  }
  std::string translated;
  translated.reserve(size + size / 8 + 16);
  for (size_t i = 0; i < size;) {
    const void* lf = std::memchr(data + i, '\n', size - i);
    const size_t stop = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : size;
    translated.append(data + i, stop - i);
    if (lf) {
      translated += "\r\n";
    }
    i = stop + 1;
  }
  return WriteAll(c.fd, translated.data(), translated.size()) ? static_cast<ssize_t>(size) : 0;
}

// Positions are byte offsets of the file (in text mode too, as on the platform).
int CookieSeek(void* cookie, off64_t* offset, int whence) {
  Cookie& c = *static_cast<Cookie*>(cookie);
  if (c.fd < 0) {
    off64_t base = 0;
    if (whence == SEEK_CUR) {
      base = static_cast<off64_t>(c.pos);
    } else if (whence == SEEK_END) {
      base = static_cast<off64_t>(c.end);
    } else if (whence != SEEK_SET) {
      errno = EINVAL;
      return -1;
    }
    const off64_t target = base + *offset;
    if (target < 0 || target > static_cast<off64_t>(c.end)) {
      errno = EINVAL;
      return -1;
    }
    c.pos = static_cast<size_t>(target);
    *offset = target;
    return 0;
  }
  off64_t move = *offset;
  if (whence == SEEK_CUR) {
    move -= static_cast<off64_t>(c.end - c.pos);
  }
  const off64_t result = lseek64(c.fd, move, whence);
  if (result < 0) {
    return -1;
  }
  c.pos = c.end = 0;
  *offset = result;
  return 0;
}

int CookieClose(void* cookie) {
  std::unique_ptr<Cookie> c(static_cast<Cookie*>(cookie));
  return (c->fd >= 0 && close(c->fd) != 0) ? -1 : 0;
}

FILE* Open(std::unique_ptr<Cookie> cookie, const char* stdioMode, bool writable) {
  cookie_io_functions_t io{};
  io.read = CookieRead;
  io.write = writable ? CookieWrite : nullptr;
  io.seek = CookieSeek;
  io.close = CookieClose;
  FILE* f = fopencookie(cookie.get(), stdioMode, io);
  if (f) {
    cookie.release();
  }
  return f;
}

}  // namespace

FILE* OpenDescriptorStream(int fd, const char* stdioMode, bool textMode) {
  auto cookie = std::make_unique<Cookie>();
  cookie->fd = fd;
  cookie->text = textMode;
  const bool writable = stdioMode[0] != 'r' || std::strchr(stdioMode, '+');
  FILE* f = Open(std::move(cookie), stdioMode, writable);
  if (!f) {
    const int saved = errno;
    close(fd);
    errno = saved;
  }
  return f;
}

FILE* OpenByteStream(std::vector<unsigned char> bytes, bool textMode) {
  auto cookie = std::make_unique<Cookie>();
  cookie->text = textMode;
  cookie->end = bytes.size();
  cookie->bytes = std::move(bytes);
  return Open(std::move(cookie), "r", false);
}

}  // namespace vela::crt
