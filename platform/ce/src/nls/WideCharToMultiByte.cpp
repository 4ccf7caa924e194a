// WideCharToMultiByte for code page 932 and UTF-8.
#include <winerror.h>
#include <winnls.h>

#include <climits>

#include "nls/CodePage.h"
#include "nls/Cp932Codec.h"
#include "nls/Utf16Scalar.h"
#include "nls/Utf8Codec.h"

namespace {

// Counts the bytes produced and, when there is a buffer, stores them up to its size. A
// character is stored whole or not at all.
class ByteOut {
public:
    ByteOut(LPSTR buffer, int capacity)
        : m_buffer(capacity > 0 ? buffer : nullptr), m_capacity(static_cast<std::size_t>(capacity)) {}

    bool Put(const unsigned char* bytes, int n) {
        const auto size = static_cast<std::size_t>(n);
        if (m_buffer != nullptr) {
            if (m_capacity - m_count < size) return false;
            for (std::size_t k = 0; k < size; ++k) m_buffer[m_count + k] = static_cast<char>(bytes[k]);
        }
        m_count += size;
        return true;
    }
    std::size_t Count() const { return m_count; }

private:
    LPSTR m_buffer;
    std::size_t m_capacity;
    std::size_t m_count = 0;
};

DWORD EncodeCp932(const char16_t* text, std::size_t length, const unsigned char* defaultChar, int defaultLength,
                  bool* usedDefault, ByteOut* out) {
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char bytes[2];
        const int n = vela::cp932::Encode(text[i], bytes);
        const bool ok = n > 0 ? out->Put(bytes, n) : out->Put(defaultChar, defaultLength);
        if (!ok) return ERROR_INSUFFICIENT_BUFFER;
        if (n == 0) *usedDefault = true;
    }
    return ERROR_SUCCESS;
}

DWORD EncodeUtf8(const char16_t* text, std::size_t length, ByteOut* out) {
    std::size_t i = 0;
    while (i < length) {
        bool wellFormed = true;
        const char32_t ch = vela::utf16::NextScalar(text, length, &i, &wellFormed);
        unsigned char bytes[4];
        if (!out->Put(bytes, vela::utf8::Encode(ch, bytes))) return ERROR_INSUFFICIENT_BUFFER;
    }
    return ERROR_SUCCESS;
}

DWORD CheckFlags(vela::nls::CodePage codePage, DWORD flags) {
    if (codePage == vela::nls::CodePage::Utf8) return flags != 0 ? ERROR_INVALID_FLAGS : ERROR_SUCCESS;
    if ((flags & ~(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS)) != 0) {
        return ERROR_INVALID_FLAGS;
    }
    // Composing base and combining characters needs tables nobody on the terminal uses.
    if ((flags & WC_COMPOSITECHECK) != 0) return ERROR_CALL_NOT_IMPLEMENTED;
    // The table maps only what decodes back to the same character, so there is no best fit
    // to switch off: WC_NO_BEST_FIT_CHARS changes nothing.
    return ERROR_SUCCESS;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

std::size_t TerminatedLength(const char16_t* text) {
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n + 1;
}

}  // namespace

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
    if (lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (lpMultiByteStr == nullptr && cbMultiByte > 0) ||
        static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const vela::nls::CodePage codePage = vela::nls::ResolveCodePage(CodePage);
    if (codePage == vela::nls::CodePage::Unsupported) return Fail(ERROR_INVALID_PARAMETER);
    if (const DWORD error = CheckFlags(codePage, dwFlags); error != ERROR_SUCCESS) return Fail(error);

    const std::size_t length = cchWideChar == -1 ? TerminatedLength(lpWideCharStr) : static_cast<std::size_t>(cchWideChar);
    ByteOut out(lpMultiByteStr, cbMultiByte);
    bool usedDefault = false;
    DWORD error = ERROR_SUCCESS;
    if (codePage == vela::nls::CodePage::Utf8) {
        // Every character has a UTF-8 form; a default character makes no sense there.
        if (lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr) return Fail(ERROR_INVALID_PARAMETER);
        error = EncodeUtf8(lpWideCharStr, length, &out);
    } else {
        unsigned char defaultChar[2] = {vela::cp932::kDefaultChar, 0};
        int defaultLength = 1;
        if (lpDefaultChar != nullptr) {
            defaultChar[0] = static_cast<unsigned char>(lpDefaultChar[0]);
            if (vela::cp932::IsLeadByte(defaultChar[0])) {
                // A double-byte default character; a lone lead byte would corrupt the text.
                defaultChar[1] = static_cast<unsigned char>(lpDefaultChar[1]);
                if (!vela::cp932::IsTrailByte(defaultChar[1])) return Fail(ERROR_INVALID_PARAMETER);
                defaultLength = 2;
            }
        }
        error = EncodeCp932(lpWideCharStr, length, defaultChar, defaultLength, &usedDefault, &out);
    }
    if (error != ERROR_SUCCESS) return Fail(error);
    // UTF-8 may need three bytes a unit: no int-sized buffer could take a longer result.
    if (out.Count() > static_cast<std::size_t>(INT_MAX)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    return static_cast<int>(out.Count());
}
