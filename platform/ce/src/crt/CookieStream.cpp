#include "crt/CookieStream.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace vela::crt {
namespace {

// The stdio buffer of a descriptor stream. Text-mode reads land in it straight from the
// descriptor and are translated where they lie, so a small file costs no extra buffer.
constexpr size_t kStreamBufferSize = BUFSIZ;

// One closed stream's buffer is kept for the next open. Besides the allocation itself this
// spares the program a large request at every open, at which malloc would first sweep up
// every small block freed since the last one: for a small file read again and again that
// sweep costs more than the reading.
std::atomic<char*> g_spareBuffer{nullptr};

struct StreamBufferDeleter {
  void operator()(char* buffer) const {
    char* expected = nullptr;
    if (!g_spareBuffer.compare_exchange_strong(expected, buffer)) {
      delete[] buffer;
    }
  }
};
using StreamBuffer = std::unique_ptr<char[], StreamBufferDeleter>;

StreamBuffer TakeStreamBuffer() {
  if (char* spare = g_spareBuffer.exchange(nullptr)) {
    return StreamBuffer(spare);
  }
  return StreamBuffer(new (std::nothrow) char[kStreamBufferSize]);
}

struct Cookie {
  int fd = -1;                      // -1 for a stream over memory
  bool text = false;
  bool carry = false;               // a byte read from the descriptor and not yet handed out
  unsigned char carried = 0;        // (a CR waiting for its next byte, or the byte after one)
  std::vector<unsigned char> bytes;  // the memory stream's content
  size_t pos = 0;                   // unconsumed input is bytes[pos, end)
  size_t end = 0;
  StreamBuffer buffer;              // handed to stdio for a descriptor stream
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

// Text-mode input over memory: all of it is at hand, so a CR at the very end stays a CR.
ssize_t ReadTextMemory(Cookie& c, char* out, size_t size) {
  size_t produced = 0;
  while (produced < size && c.pos < c.end) {
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
    const bool pair = c.pos + 1 < c.end && c.bytes[c.pos + 1] == '\n';
    out[produced++] = pair ? '\n' : '\r';
    c.pos += pair ? 2 : 1;
  }
  return static_cast<ssize_t>(produced);
}

// Turns the raw bytes out[0, n) into text in place: CR LF becomes LF. A CR that ends the
// bytes is left out and becomes the carry, since only the next byte can tell what it is.
size_t TranslateInPlace(Cookie& c, char* out, size_t n) {
  char* const end = out + n;
  char* read = static_cast<char*>(std::memchr(out, '\r', n));
  if (!read) {
    return n;
  }
  char* write = read;
  while (read < end) {
    if (*read != '\r') {
      char* const cr = static_cast<char*>(std::memchr(read, '\r', static_cast<size_t>(end - read)));
      char* const stop = cr ? cr : end;
      std::memmove(write, read, static_cast<size_t>(stop - read));
      write += stop - read;
      read = stop;
      continue;
    }
    if (read + 1 == end) {
      c.carry = true;
      c.carried = '\r';
      break;
    }
    const bool pair = read[1] == '\n';
    *write++ = pair ? '\n' : '\r';
    read += pair ? 2 : 1;
  }
  return static_cast<size_t>(write - out);
}

// Text-mode input from a descriptor, read straight into the caller's buffer (stdio's own).
// Returns as soon as something is there rather than wait on a pipe for more; only a lone CR
// makes it read on, to learn whether an LF follows.
ssize_t ReadTextDescriptor(Cookie& c, char* out, size_t size) {
  if (size == 0) {
    return 0;
  }
  size = std::min(size, kRawChunkSize);
  for (;;) {
    size_t have = 0;
    if (c.carry) {
      c.carry = false;
      out[0] = static_cast<char>(c.carried);
      have = 1;
      if (c.carried != '\r') {
        return 1;
      }
    }
    if (have == 1 && size == 1) {
      // No room to read behind the CR: decide it on one more byte.
      unsigned char next = 0;
      const ssize_t n = ReadRetrying(c.fd, &next, 1);
      if (n == 1 && next == '\n') {
        out[0] = '\n';
      } else if (n == 1) {
        c.carry = true;
        c.carried = next;
      }
      return 1;
    }
    const ssize_t n = ReadRetrying(c.fd, reinterpret_cast<unsigned char*>(out) + have, size - have);
    if (n <= 0) {
      // The last byte of the input is a lone CR, and stays one.
      return have == 1 ? 1 : n;
    }
    const size_t produced = TranslateInPlace(c, out, have + static_cast<size_t>(n));
    if (produced > 0) {
      return static_cast<ssize_t>(produced);
    }
    // Only a CR arrived: it is carried, and what follows is read next.
  }
}

ssize_t CookieRead(void* cookie, char* out, size_t size) {
  Cookie& c = *static_cast<Cookie*>(cookie);
  if (c.text) {
    return c.fd >= 0 ? ReadTextDescriptor(c, out, size) : ReadTextMemory(c, out, size);
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
  if (!c.carry) {
    return true;
  }
  c.carry = false;
  return lseek(c.fd, -1, SEEK_CUR) >= 0;
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
  if (whence == SEEK_CUR && c.carry) {
    move -= 1;
  }
  const off64_t result = lseek64(c.fd, move, whence);
  if (result < 0) {
    return -1;
  }
  c.carry = false;
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
  // Allocated with the cookie rather than by stdio at the first read.
  cookie->buffer = TakeStreamBuffer();
  char* const buffer = cookie->buffer.get();
  FILE* f = Open(std::move(cookie), stdioMode, writable);
  if (!f) {
    const int saved = errno;
    close(fd);
    errno = saved;
    return nullptr;
  }
  if (buffer) {
    setvbuf(f, buffer, _IOFBF, kStreamBufferSize);
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
