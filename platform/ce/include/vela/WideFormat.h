// The platform's printf rules for wide strings, with arguments that carry their types, so a
// format can never read what was not passed. Used by CString::Format and wsprintf.
//
// Conversions: %s (UTF-16 string; %hs and %S take an ANSI string), %c (%hc, %C), %d %i %u %x
// %X %o, %p, %e %f %g, %%; flags "-", "+", " ", "#", "0"; widths and precisions (also "*");
// the size prefixes h, l, ll, I64, I32. A conversion without a matching argument writes
// nothing; a number given for %s, or a string for %d, is written as its own kind would be.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "../wintypes.h"

namespace vela {

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Float, WideString, AnsiString, Pointer };

    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    FormatArg(T v) : m_kind(Kind::Signed) { m_value.i = v; }
    template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_signed_v<T>, int> = 0>
    FormatArg(T v) : m_kind(Kind::Unsigned) { m_value.u = v; }
    template <typename T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    FormatArg(T v) : FormatArg(static_cast<std::underlying_type_t<T>>(v)) {}
    FormatArg(double v) : m_kind(Kind::Float) { m_value.f = v; }
    FormatArg(const WCHAR* s) : m_kind(Kind::WideString) { m_value.ws = s; }
    FormatArg(WCHAR* s) : FormatArg(static_cast<const WCHAR*>(s)) {}
    FormatArg(const std::u16string& s) : FormatArg(s.c_str()) {}
    FormatArg(const char* s) : m_kind(Kind::AnsiString) { m_value.as = s; }
    FormatArg(char* s) : FormatArg(static_cast<const char*>(s)) {}
    FormatArg(const void* p) : m_kind(Kind::Pointer) { m_value.p = p; }
    FormatArg(std::nullptr_t) : FormatArg(static_cast<const void*>(nullptr)) {}
    // Anything else with a conversion to a wide string (CString) is taken as one.
    template <typename T, std::enable_if_t<!std::is_arithmetic_v<T> && !std::is_enum_v<T> &&
                                               !std::is_pointer_v<T> &&
                                               std::is_convertible_v<const T&, const WCHAR*>, int> = 0>
    FormatArg(const T& s) : FormatArg(static_cast<const WCHAR*>(s)) {}

    Kind kind() const { return m_kind; }
    int64_t asSigned() const { return m_value.i; }
    uint64_t asUnsigned() const { return m_value.u; }
    double asFloat() const { return m_value.f; }
    const WCHAR* asWide() const { return m_value.ws; }
    const char* asAnsi() const { return m_value.as; }
    const void* asPointer() const { return m_value.p; }

private:
    Kind m_kind;
    union {
        int64_t i;
        uint64_t u;
        double f;
        const WCHAR* ws;
        const char* as;
        const void* p;
    } m_value;
};

// Formats into a string; null format gives an empty string.
std::u16string FormatWide(const WCHAR* format, const FormatArg* args, size_t count);

template <typename... Args>
std::u16string FormatWideArgs(const WCHAR* format, const Args&... args) {
    const FormatArg list[sizeof...(Args) + 1] = {FormatArg(args)..., FormatArg(0)};
    return FormatWide(format, list, sizeof...(Args));
}

}  // namespace vela
