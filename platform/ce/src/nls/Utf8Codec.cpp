// UTF-8 by the Unicode rules: no overlong forms, no surrogates, nothing above U+10FFFF.
#include "nls/Utf8Codec.h"

namespace vela::utf8 {

char32_t Decode(const unsigned char* text, std::size_t length, std::size_t* pos, bool* wellFormed) {
    const std::size_t start = *pos;
    const unsigned char b0 = text[start];
    *wellFormed = true;
    if (b0 < 0x80) {
        *pos = start + 1;
        return b0;
    }
    int extra = 0;
    unsigned char low = 0x80;  // the second byte's range narrows for E0, ED, F0 and F4
    unsigned char high = 0xBF;
    char32_t ch = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        ch = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        ch = b0 & 0x0F;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        ch = b0 & 0x07;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        *pos = start + 1;
        *wellFormed = false;
        return kReplacementChar;
    }
    std::size_t i = start + 1;
    for (int k = 0; k < extra; ++k, ++i) {
        if (i >= length || text[i] < low || text[i] > high) {
            *pos = i;
            *wellFormed = false;
            return kReplacementChar;
        }
        ch = (ch << 6) | (text[i] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    *pos = i;
    return ch;
}

int Encode(char32_t ch, unsigned char out[4]) {
    if (ch < 0x80) {
        out[0] = static_cast<unsigned char>(ch);
        return 1;
    }
    if (ch < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (ch >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (ch & 0x3F));
        return 2;
    }
    if (ch < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (ch >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((ch >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (ch & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (ch >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((ch >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((ch >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (ch & 0x3F));
    return 4;
}

}  // namespace vela::utf8
