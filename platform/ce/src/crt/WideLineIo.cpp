// Line input and string output of the runtime library's text streams: bytes in the ANSI code
// page (932) on the stream, UTF-16 in memory.
#include <wincrt.h>

#include "nls/Cp932Codec.h"

#include <sys/single_threaded.h>

#include <cstdint>
#include <cstring>

namespace {

// Holds the stream's lock for one call, so that the byte reads inside need no locking. While
// the process has a single thread nobody else can touch the stream, and the lock (an atomic
// operation a line, a good part of reading a small file) is skipped, as stdio itself does.
class StreamLock {
 public:
  explicit StreamLock(FILE* f) : f_(__libc_single_threaded ? nullptr : f) {
    if (f_) {
      flockfile(f_);
    }
  }
  ~StreamLock() {
    if (f_) {
      funlockfile(f_);
    }
  }
  StreamLock(const StreamLock&) = delete;
  StreamLock& operator=(const StreamLock&) = delete;

 private:
  FILE* f_;
};

// The bytes stdio holds for the stream and has not handed out (glibc keeps them in
// [_IO_read_ptr, _IO_read_end), as getc_unlocked reads them).
struct Buffered {
  const unsigned char* begin;
  const unsigned char* end;
};

Buffered BufferedBytes(FILE* stream) {
  return {reinterpret_cast<const unsigned char*>(stream->_IO_read_ptr),
          reinterpret_cast<const unsigned char*>(stream->_IO_read_end)};
}

}  // namespace

WCHAR* fgetws(WCHAR* buffer, int n, FILE* stream) {
  if (!buffer || !stream || n <= 0) {
    return nullptr;
  }
  StreamLock lock(stream);
  WCHAR* out = buffer;
  WCHAR* const last = buffer + (n - 1);
  while (out < last) {
    // ASCII straight from stdio's buffer, a byte at a time through getc only for the rest.
    const Buffered held = BufferedBytes(stream);
    if (held.begin < held.end) {
      const unsigned char* p = held.begin;
      const size_t room = static_cast<size_t>(last - out);
      const unsigned char* const stop =
          static_cast<size_t>(held.end - p) < room ? held.end : p + room;
      // Eight bytes at a time while none is a line feed or outside ASCII.
      constexpr uint64_t kOnes = 0x0101010101010101ull;
      constexpr uint64_t kHighs = 0x8080808080808080ull;
      while (stop - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const uint64_t lineFeeds = word ^ (kOnes * '\n');
        if (((word | ((lineFeeds - kOnes) & ~lineFeeds)) & kHighs) != 0) {
          break;
        }
        for (int i = 0; i < 8; ++i) {
          out[i] = p[i];
        }
        out += 8;
        p += 8;
      }
      bool lineEnd = false;
      while (p < stop && *p < 0x80) {
        *out++ = *p;
        if (*p++ == '\n') {
          lineEnd = true;
          break;
        }
      }
      stream->_IO_read_ptr += p - held.begin;
      if (lineEnd || out == last) {
        break;
      }
      // A byte outside ASCII is next, or the buffer ran dry and getc refills it.
    }
    const int b = getc_unlocked(stream);
    if (b == EOF) {
      break;
    }
    WCHAR ch;
    if (b < 0x80) {
      ch = static_cast<WCHAR>(b);
    } else if (!vela::cp932::IsLeadByte(static_cast<unsigned char>(b))) {
      ch = vela::cp932::DecodeSingle(static_cast<unsigned char>(b));
    } else {
      const int trail = getc_unlocked(stream);
      if (trail != EOF && vela::cp932::IsTrailByte(static_cast<unsigned char>(trail))) {
        bool defined = true;
        ch = vela::cp932::DecodeDouble(static_cast<unsigned char>(b),
                                       static_cast<unsigned char>(trail), &defined);
      } else {
        // A broken pair: the lead byte stands for itself and the other byte is read anew.
        ch = vela::cp932::kDefaultUnicodeChar;
        if (trail != EOF) {
          ungetc(trail, stream);
        }
      }
    }
    *out++ = ch;
    if (ch == u'\n') {
      break;
    }
  }
  *out = 0;
  if (out == buffer && n > 1) {
    return nullptr;  // end of file or a read error before any character
  }
  return buffer;
}

int fputws(const WCHAR* str, FILE* stream) {
  if (!str || !stream) {
    return -1;
  }
  StreamLock lock(stream);
  for (const WCHAR* p = str; *p; ++p) {
    unsigned char bytes[2];
    int count = vela::cp932::Encode(*p, bytes);
    if (count == 0) {
      bytes[0] = vela::cp932::kDefaultChar;
      count = 1;
      // A surrogate pair is one character, so it becomes one default character.
      if (*p >= 0xD800 && *p < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
        ++p;
      }
    }
    for (int i = 0; i < count; ++i) {
      if (putc_unlocked(bytes[i], stream) == EOF) {
        return -1;
      }
    }
  }
  return 0;
}
