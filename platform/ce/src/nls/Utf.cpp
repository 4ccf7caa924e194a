// UTF-16 <-> UTF-8 for the stand-in's own boundary to the host (file names, debug output).
#include <vela/Utf.h>

#include "nls/Utf16Scalar.h"
#include "nls/Utf8Codec.h"

namespace vela {

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        bool wellFormed = true;
        const char32_t ch = utf16::NextScalar(text.data(), text.size(), &pos, &wellFormed);
        unsigned char bytes[4];
        const int n = utf8::Encode(ch, bytes);
        out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t pos = 0;
    while (pos < text.size()) {
        bool wellFormed = true;
        const char32_t ch = utf8::Decode(bytes, text.size(), &pos, &wellFormed);
        if (ch < 0x10000) {
            out.push_back(static_cast<char16_t>(ch));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

}  // namespace vela
