#include <vela/MemoryStream.h>

#include <cerrno>
#include <vector>

#include "crt/CookieStream.h"

namespace vela {

FILE* OpenMemoryStream(const void* data, size_t size, bool textMode) {
  if (!data && size > 0) {
    errno = EINVAL;
    return nullptr;
  }
  const auto* first = static_cast<const unsigned char*>(data);
  return crt::OpenByteStream(std::vector<unsigned char>(first, first + size), textMode);
}

}  // namespace vela
