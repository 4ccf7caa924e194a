#include "modules/AnsiText.h"

#include <winnls.h>

#include <climits>

namespace vela::modules {

std::u16string AnsiToWide(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) {
    return {};
  }
  std::u16string wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::string WideToAnsi(std::u16string_view text) {
  if (text.empty() || text.size() > INT_MAX / 2) {
    return {};
  }
  const int wideLength = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, ansi.data(), length, nullptr, nullptr);
  }
  return ansi;
}

size_t AnsiPrefixLength(std::string_view text, size_t maxBytes) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
    if (i + width > maxBytes) {
      break;
    }
    i += width;
  }
  return i;
}

}  // namespace vela::modules
