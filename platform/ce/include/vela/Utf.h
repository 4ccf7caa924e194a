// Conversions between the platform's UTF-16 text and the host's UTF-8, for the stand-in's
// own use at the boundary to POSIX (file names, debug output). Ill-formed input is replaced
// by U+FFFD, never read beyond its length.
#pragma once

#include <string>
#include <string_view>

namespace vela {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace vela
