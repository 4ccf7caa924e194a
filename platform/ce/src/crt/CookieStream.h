// FILE streams whose bytes pass through the runtime library's text-mode translation:
// CR LF is read as LF (a lone CR stays) and LF is written as CR LF, at the byte level,
// before any code page conversion. Binary streams pass bytes unchanged. The streams are
// ordinary glibc FILE objects (fopencookie), so fclose, fread, fseek and friends work.
// Positions are byte offsets of the file, as on the platform. glibc's buffer arithmetic
// counts the bytes it was handed, so on a text-mode stream being read ftell and fseek to a
// nonzero offset are off by the CR LF pairs already read; rewind, fseek to 0 and SEEK_END
// stay exact, as does everything on binary and write-only streams.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

namespace vela::crt {

// The most bytes a text-mode stream reads from a descriptor at a time. A CR that ends such
// a read waits for the next byte to decide whether it starts a CR LF pair.
constexpr size_t kRawChunkSize = 64 * 1024;

// Takes ownership of fd (closed by fclose, or at once when the stream cannot be made).
// stdioMode is the fopencookie mode ("r", "w+", "a" ...).
FILE* OpenDescriptorStream(int fd, const char* stdioMode, bool textMode);

// A read-only stream over the given bytes.
FILE* OpenByteStream(std::vector<unsigned char> bytes, bool textMode);

}  // namespace vela::crt
