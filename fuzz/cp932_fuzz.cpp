// Decodes arbitrary bytes as code page 932 and UTF-8 and encodes the result back, with exact
// and too-small buffers. Checks that sizes agree between queries and conversions, that a
// too-small buffer fails cleanly without writing past its end, and that 932 text which
// decoded without error encodes without a default character and decodes back the same.
#include <winerror.h>
#include <winnls.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr WCHAR kWideGuard = 0xBEEF;
constexpr char kByteGuard = '\x5A';

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<WCHAR> Decode(UINT cp, DWORD flags, const char* bytes, int length) {
    const int needed = MultiByteToWideChar(cp, flags, bytes, length, nullptr, 0);
    if (needed == 0) {
        Check(GetLastError() == ERROR_NO_UNICODE_TRANSLATION);
        Check((flags & MB_ERR_INVALID_CHARS) != 0);
        return {};
    }
    Check(needed > 0 && needed <= length);
    std::vector<WCHAR> out(static_cast<std::size_t>(needed) + 1, kWideGuard);
    Check(MultiByteToWideChar(cp, flags, bytes, length, out.data(), needed) == needed);
    Check(out[static_cast<std::size_t>(needed)] == kWideGuard);
    if (needed > 1) {
        std::vector<WCHAR> small(static_cast<std::size_t>(needed), kWideGuard);
        SetLastError(0);
        Check(MultiByteToWideChar(cp, flags, bytes, length, small.data(), needed - 1) == 0);
        Check(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        Check(small[static_cast<std::size_t>(needed - 1)] == kWideGuard);
    }
    out.resize(static_cast<std::size_t>(needed));
    return out;
}

std::vector<char> Encode(UINT cp, const std::vector<WCHAR>& text, bool* usedDefault) {
    const int length = static_cast<int>(text.size());
    BOOL usedFlag = FALSE;
    BOOL* used = cp == CP_UTF8 ? nullptr : &usedFlag;  // UTF-8 refuses the argument
    const int needed = WideCharToMultiByte(cp, 0, text.data(), length, nullptr, 0, nullptr, used);
    Check(needed >= length && needed <= 3 * length);
    std::vector<char> out(static_cast<std::size_t>(needed) + 1, kByteGuard);
    Check(WideCharToMultiByte(cp, 0, text.data(), length, out.data(), needed, nullptr, used) == needed);
    Check(out[static_cast<std::size_t>(needed)] == kByteGuard);
    std::vector<char> small(static_cast<std::size_t>(needed), kByteGuard);
    if (needed > 1) {
        SetLastError(0);
        Check(WideCharToMultiByte(cp, 0, text.data(), length, small.data(), needed - 1, nullptr, used) == 0);
        Check(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        Check(small[static_cast<std::size_t>(needed - 1)] == kByteGuard);
    }
    if (usedDefault != nullptr) *usedDefault = usedFlag != FALSE;
    out.resize(static_cast<std::size_t>(needed));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 1 << 16) return 0;
    const auto* bytes = reinterpret_cast<const char*>(data);
    const int length = static_cast<int>(size);

    const std::vector<WCHAR> lenient = Decode(932, 0, bytes, length);
    Check(!lenient.empty());
    bool usedDefault = false;
    Encode(932, lenient, &usedDefault);

    const std::vector<WCHAR> strict = Decode(932, MB_ERR_INVALID_CHARS, bytes, length);
    if (!strict.empty()) {
        Check(strict == lenient);
        const std::vector<char> back = Encode(932, strict, &usedDefault);
        Check(!usedDefault);
        // Not always the same bytes: a second code of a character (ED40 for U+7E8A, say)
        // comes back as its preferred code (FA5C). It decodes to the same text, though.
        Check(Decode(932, MB_ERR_INVALID_CHARS, back.data(), static_cast<int>(back.size())) == strict);
    }

    const std::vector<WCHAR> utf16 = Decode(CP_UTF8, 0, bytes, length);
    const std::vector<char> utf8 = Encode(CP_UTF8, utf16, nullptr);
    // Whatever was decoded is well-formed now: it survives another round unchanged.
    Check(Decode(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size())) == utf16);
    return 0;
}
