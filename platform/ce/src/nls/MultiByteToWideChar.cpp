// MultiByteToWideChar for code page 932 and UTF-8.
#include <winerror.h>
#include <winnls.h>

#include <climits>
#include <cstring>

#include "nls/CodePage.h"
#include "nls/Cp932Codec.h"
#include "nls/Utf8Codec.h"

namespace {

// Counts the characters produced and, when there is a buffer, stores them up to its size.
class WideOut {
public:
    WideOut(LPWSTR buffer, int capacity)
        : m_buffer(capacity > 0 ? buffer : nullptr), m_capacity(static_cast<std::size_t>(capacity)) {}

    bool Put(char16_t ch) {
        if (m_buffer != nullptr) {
            if (m_count >= m_capacity) return false;
            m_buffer[m_count] = ch;
        }
        ++m_count;
        return true;
    }
    std::size_t Count() const { return m_count; }

private:
    LPWSTR m_buffer;
    std::size_t m_capacity;
    std::size_t m_count = 0;
};

DWORD DecodeCp932(const unsigned char* text, std::size_t length, bool strict, WideOut* out) {
    std::size_t i = 0;
    while (i < length) {
        const unsigned char b = text[i];
        char16_t ch;
        if (b < 0x80) {  // ASCII, the bulk of most files, without a call
            ch = b;
            ++i;
        } else if (!vela::cp932::IsLeadByte(b)) {
            ch = vela::cp932::DecodeSingle(b);
            ++i;
        } else if (i + 1 < length && vela::cp932::IsTrailByte(text[i + 1])) {
            bool defined = true;
            ch = vela::cp932::DecodeDouble(b, text[i + 1], &defined);
            if (!defined && strict) return ERROR_NO_UNICODE_TRANSLATION;
            i += 2;
        } else {
            // A stray lead byte stands alone; the byte after it (a line feed, say) is kept.
            if (strict) return ERROR_NO_UNICODE_TRANSLATION;
            ch = vela::cp932::kDefaultUnicodeChar;
            ++i;
        }
        if (!out->Put(ch)) return ERROR_INSUFFICIENT_BUFFER;
    }
    return ERROR_SUCCESS;
}

DWORD DecodeUtf8(const unsigned char* text, std::size_t length, bool strict, WideOut* out) {
    std::size_t i = 0;
    while (i < length) {
        bool wellFormed = true;
        const char32_t ch = vela::utf8::Decode(text, length, &i, &wellFormed);
        if (!wellFormed && strict) return ERROR_NO_UNICODE_TRANSLATION;
        if (ch < 0x10000) {
            if (!out->Put(static_cast<char16_t>(ch))) return ERROR_INSUFFICIENT_BUFFER;
        } else {
            if (!out->Put(static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10))) ||
                !out->Put(static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF)))) {
                return ERROR_INSUFFICIENT_BUFFER;
            }
        }
    }
    return ERROR_SUCCESS;
}

DWORD CheckFlags(vela::nls::CodePage codePage, DWORD flags) {
    if (codePage == vela::nls::CodePage::Utf8) return (flags & ~MB_ERR_INVALID_CHARS) != 0 ? ERROR_INVALID_FLAGS : ERROR_SUCCESS;
    if ((flags & ~(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS)) != 0) return ERROR_INVALID_FLAGS;
    if ((flags & MB_PRECOMPOSED) != 0 && (flags & MB_COMPOSITE) != 0) return ERROR_INVALID_FLAGS;
    // Decomposing kana and compatibility ideographs needs tables nobody on the terminal uses.
    if ((flags & MB_COMPOSITE) != 0) return ERROR_CALL_NOT_IMPLEMENTED;
    return ERROR_SUCCESS;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
    if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (lpWideCharStr == nullptr && cchWideChar > 0) ||
        static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const vela::nls::CodePage codePage = vela::nls::ResolveCodePage(CodePage);
    if (codePage == vela::nls::CodePage::Unsupported) return Fail(ERROR_INVALID_PARAMETER);
    if (const DWORD error = CheckFlags(codePage, dwFlags); error != ERROR_SUCCESS) return Fail(error);

    // -1: the text runs to its terminator, which is converted too.
    const std::size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
    const auto* text = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    const bool strict = (dwFlags & MB_ERR_INVALID_CHARS) != 0;
    WideOut out(lpWideCharStr, cchWideChar);
    const DWORD error = codePage == vela::nls::CodePage::Utf8 ? DecodeUtf8(text, length, strict, &out)
                                                             : DecodeCp932(text, length, strict, &out);
    if (error != ERROR_SUCCESS) return Fail(error);
    // Only a terminated text longer than 2 GB can produce a count that an int cannot hold.
    if (out.Count() > static_cast<std::size_t>(INT_MAX)) return Fail(ERROR_INVALID_PARAMETER);
    return static_cast<int>(out.Count());
}
