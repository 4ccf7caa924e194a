// Text of the ANSI code page (932) to and from UTF-16, for the ...A forms.
#pragma once

#include <string>
#include <string_view>

namespace vela::modules {

std::u16string AnsiToWide(const char* text);
std::string WideToAnsi(std::u16string_view text);

// The longest prefix of ANSI text of at most maxBytes bytes that does not end inside a
// two-byte character.
size_t AnsiPrefixLength(std::string_view text, size_t maxBytes);

}  // namespace vela::modules
