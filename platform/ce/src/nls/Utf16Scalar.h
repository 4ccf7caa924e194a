// Reading scalar values out of UTF-16: surrogate pairs joined, lone surrogates replaced.
#pragma once

#include <cstddef>

namespace vela::utf16 {

// Returns the scalar value at text[*pos] (pos < length) and advances *pos past it. A lone
// surrogate yields U+FFFD with *wellFormed false.
inline char32_t NextScalar(const char16_t* text, std::size_t length, std::size_t* pos, bool* wellFormed) {
    const char16_t first = text[*pos];
    ++*pos;
    *wellFormed = true;
    if (first < 0xD800 || first > 0xDFFF) return first;
    if (first <= 0xDBFF && *pos < length && text[*pos] >= 0xDC00 && text[*pos] <= 0xDFFF) {
        const char16_t second = text[*pos];
        ++*pos;
        return 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (second - 0xDC00);
    }
    *wellFormed = false;
    return 0xFFFD;
}

}  // namespace vela::utf16
