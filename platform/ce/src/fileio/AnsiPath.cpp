#include "fileio/AnsiPath.h"

#include <winnls.h>

namespace vela::fileio {

std::optional<std::u16string> WideFromAnsi(LPCSTR name) {
  if (!name) {
    return std::u16string();
  }
  const int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
  if (length <= 0) {
    return std::nullopt;
  }
  std::u16string wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), length);
  wide.pop_back();  // the terminating NUL
  return wide;
}

}  // namespace vela::fileio
