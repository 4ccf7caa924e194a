// The wide printf engine behind CString::Format and wsprintf.
//
// Arguments carry their types, so the engine never reads what was not passed: a directive
// without an argument writes nothing, and an argument of the wrong kind for its directive is
// written as its own kind would be (a number given to %s is written in decimal, a string given
// to %d as the string). The format itself is read only up to its terminating NUL.
#include <vela/WideFormat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <winnls.h>

namespace vela {
namespace {

// Widths and precisions beyond this are clamped, so a hostile format cannot make the engine
// allocate gigabytes or overflow while reading the digits.
constexpr int kMaxField = 65535;

enum class Size { Default, Byte, Short, Int64, PtrSize, Long32 };

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    int width = 0;
    int precision = -1;     // -1: none given
    Size size = Size::Default;
    bool narrow = false;    // h prefix on %s/%c
    bool wide = false;      // l or w prefix on %s/%c
    char16_t conv = 0;
};

class ArgList {
public:
    ArgList(const FormatArg* args, size_t count) : m_args(args), m_count(args ? count : 0) {}
    const FormatArg* next() { return m_index < m_count ? &m_args[m_index++] : nullptr; }

private:
    const FormatArg* m_args;
    size_t m_count;
    size_t m_index = 0;
};

bool IsIntegerKind(FormatArg::Kind k) {
    return k == FormatArg::Kind::Signed || k == FormatArg::Kind::Unsigned;
}

void AppendAscii(std::u16string& out, const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(text[i])));
}

// Width padding around a finished piece of text. The platform pads strings and characters
// with zeros too when the "0" flag is given without "-".
void AppendPadded(std::u16string& out, const Spec& spec, std::u16string_view text) {
    size_t pad = spec.width > 0 && text.size() < static_cast<size_t>(spec.width) ? spec.width - text.size() : 0;
    if (spec.left) {
        out.append(text);
        out.append(pad, u' ');
    } else {
        out.append(pad, spec.zero ? u'0' : u' ');
        out.append(text);
    }
}

std::u16string DecodeAnsi(const char* text, size_t bytes) {
    std::u16string result;
    if (bytes == 0) return result;
    int length = static_cast<int>(bytes > static_cast<size_t>(kMaxField) * 4 ? static_cast<size_t>(kMaxField) * 4 : bytes);
    int needed = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (needed <= 0) return result;
    result.resize(static_cast<size_t>(needed));
    int written = MultiByteToWideChar(CP_ACP, 0, text, length, result.data(), needed);
    result.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return result;
}

std::u16string_view NullText() { return u"(null)"; }

void WriteWideString(std::u16string& out, const Spec& spec, const WCHAR* text) {
    if (!text) {
        std::u16string_view null = NullText();
        AppendPadded(out, spec, spec.precision >= 0 ? null.substr(0, spec.precision) : null);
        return;
    }
    // With a precision the string need not be terminated within it.
    size_t length = 0;
    if (spec.precision >= 0) {
        while (length < static_cast<size_t>(spec.precision) && text[length]) ++length;
    } else {
        length = std::char_traits<char16_t>::length(text);
    }
    AppendPadded(out, spec, std::u16string_view(text, length));
}

void WriteAnsiString(std::u16string& out, const Spec& spec, const char* text) {
    if (!text) {
        std::u16string_view null = NullText();
        AppendPadded(out, spec, spec.precision >= 0 ? null.substr(0, spec.precision) : null);
        return;
    }
    // The platform counts the precision of an ANSI string in bytes.
    size_t bytes = spec.precision >= 0 ? strnlen(text, static_cast<size_t>(spec.precision)) : strlen(text);
    AppendPadded(out, spec, DecodeAnsi(text, bytes));
}

void WriteInteger(std::u16string& out, const Spec& spec, uint64_t magnitude, bool negative) {
    const bool isSigned = spec.conv == u'd' || spec.conv == u'i';
    const bool hex = spec.conv == u'x' || spec.conv == u'X' || spec.conv == u'p';
    const unsigned base = hex ? 16 : spec.conv == u'o' ? 8 : 10;
    const char* digitSet = spec.conv == u'x' ? "0123456789abcdef" : "0123456789ABCDEF";

    char buffer[24];
    size_t n = 0;
    for (uint64_t v = magnitude; v != 0; v /= base) buffer[n++] = digitSet[v % base];
    std::u16string digits;
    if (spec.precision < 0 && n == 0) digits.push_back(u'0');
    for (size_t i = n; i > 0; --i) digits.push_back(static_cast<char16_t>(buffer[i - 1]));
    if (spec.precision > 0 && digits.size() < static_cast<size_t>(spec.precision))
        digits.insert(0, spec.precision - digits.size(), u'0');
    if (spec.alt && spec.conv == u'o' && (digits.empty() || digits[0] != u'0')) digits.insert(0, 1, u'0');

    std::u16string prefix;
    if (isSigned) {
        if (negative) prefix = u"-";
        else if (spec.plus) prefix = u"+";
        else if (spec.space) prefix = u" ";
    }
    if (spec.alt && magnitude != 0) {
        if (spec.conv == u'x') prefix = u"0x";
        if (spec.conv == u'X' || spec.conv == u'p') prefix = u"0X";
    }

    size_t used = prefix.size() + digits.size();
    size_t pad = spec.width > 0 && used < static_cast<size_t>(spec.width) ? spec.width - used : 0;
    if (spec.left) {
        out += prefix;
        out += digits;
        out.append(pad, u' ');
    } else if (spec.zero && spec.precision < 0) {
        out += prefix;
        out.append(pad, u'0');
        out += digits;
    } else {
        out.append(pad, u' ');
        out += prefix;
        out += digits;
    }
}

// Cuts a value to the size the prefix names, as the platform's vararg would read it.
uint64_t CutUnsigned(uint64_t v, Size size) {
    switch (size) {
        case Size::Byte: return v & 0xFFu;
        case Size::Short: return v & 0xFFFFu;
        case Size::Int64: return v;
        case Size::PtrSize: return sizeof(void*) == 8 ? v : (v & 0xFFFFFFFFu);
        case Size::Default:
        case Size::Long32: return v & 0xFFFFFFFFu;
    }
    return v;
}

int64_t CutSigned(uint64_t v, Size size) {
    switch (size) {
        case Size::Byte: return static_cast<int8_t>(static_cast<uint8_t>(v));
        case Size::Short: return static_cast<int16_t>(static_cast<uint16_t>(v));
        case Size::Int64: return static_cast<int64_t>(v);
        case Size::PtrSize: return sizeof(void*) == 8 ? static_cast<int64_t>(v) : static_cast<int32_t>(static_cast<uint32_t>(v));
        case Size::Default:
        case Size::Long32: return static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    return static_cast<int64_t>(v);
}

void WriteFloat(std::u16string& out, const Spec& spec, double value) {
    char fmt[32];
    size_t n = 0;
    fmt[n++] = '%';
    if (spec.left) fmt[n++] = '-';
    if (spec.plus) fmt[n++] = '+';
    if (spec.space) fmt[n++] = ' ';
    if (spec.alt) fmt[n++] = '#';
    if (spec.zero) fmt[n++] = '0';
    fmt[n++] = '*';
    fmt[n++] = '.';
    fmt[n++] = '*';
    fmt[n++] = static_cast<char>(spec.conv);
    fmt[n] = '\0';
    const int precision = spec.precision >= 0 ? spec.precision : 6;
    int needed = std::snprintf(nullptr, 0, fmt, spec.width, precision, value);
    if (needed <= 0) return;
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), fmt, spec.width, precision, value);
    AppendAscii(out, text.data(), static_cast<size_t>(needed));
}

void WriteArg(std::u16string& out, Spec spec, const FormatArg& arg);

// An argument that does not fit its directive is written as its own kind would be, keeping
// the flags and width but not the precision (which means different things per kind).
void WriteAsOwnKind(std::u16string& out, Spec spec, const FormatArg& arg) {
    spec.precision = -1;
    spec.size = Size::Int64;
    switch (arg.kind()) {
        case FormatArg::Kind::Signed: spec.conv = u'd'; break;
        case FormatArg::Kind::Unsigned: spec.conv = u'u'; break;
        case FormatArg::Kind::Float: spec.conv = u'g'; break;
        case FormatArg::Kind::Pointer: spec.conv = u'p'; break;
        case FormatArg::Kind::WideString:
        case FormatArg::Kind::AnsiString: spec.conv = u's'; break;
    }
    WriteArg(out, spec, arg);
}

void WriteChar(std::u16string& out, const Spec& spec, const FormatArg& arg) {
    // %c is a wide character, %hc and %C an ANSI one; l and w force wide.
    const bool ansi = !spec.wide && (spec.narrow || spec.conv == u'C');
    const uint64_t value = arg.asUnsigned();
    std::u16string text;
    if (ansi) {
        const char byte = static_cast<char>(value & 0xFFu);
        if (byte != '\0') text = DecodeAnsi(&byte, 1);
    } else if ((value & 0xFFFFu) != 0) {
        text.push_back(static_cast<char16_t>(value & 0xFFFFu));
    }
    // A NUL character is not written: it would end the string for every reader of it.
    AppendPadded(out, spec, text);
}

void WriteArg(std::u16string& out, Spec spec, const FormatArg& arg) {
    const FormatArg::Kind kind = arg.kind();
    switch (spec.conv) {
        case u's':
        case u'S':
            // The argument's own type says how its text is encoded, whatever the prefix.
            if (kind == FormatArg::Kind::WideString) return WriteWideString(out, spec, arg.asWide());
            if (kind == FormatArg::Kind::AnsiString) return WriteAnsiString(out, spec, arg.asAnsi());
            return WriteAsOwnKind(out, spec, arg);
        case u'c':
        case u'C':
            if (IsIntegerKind(kind)) return WriteChar(out, spec, arg);
            return WriteAsOwnKind(out, spec, arg);
        case u'd':
        case u'i':
            if (IsIntegerKind(kind)) {
                int64_t v = CutSigned(arg.asUnsigned(), spec.size);
                uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
                return WriteInteger(out, spec, magnitude, v < 0);
            }
            if (kind == FormatArg::Kind::Pointer)
                return WriteInteger(out, spec, reinterpret_cast<uintptr_t>(arg.asPointer()), false);
            return WriteAsOwnKind(out, spec, arg);
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            if (IsIntegerKind(kind)) return WriteInteger(out, spec, CutUnsigned(arg.asUnsigned(), spec.size), false);
            // A pointer is as wide as an int on the terminal: written whole, never cut.
            if (kind == FormatArg::Kind::Pointer)
                return WriteInteger(out, spec, reinterpret_cast<uintptr_t>(arg.asPointer()), false);
            return WriteAsOwnKind(out, spec, arg);
        case u'p': {
            uint64_t value = 0;
            if (kind == FormatArg::Kind::Pointer) value = reinterpret_cast<uintptr_t>(arg.asPointer());
            else if (IsIntegerKind(kind)) value = CutUnsigned(arg.asUnsigned(), Size::PtrSize);
            else return WriteAsOwnKind(out, spec, arg);
            spec.precision = static_cast<int>(2 * sizeof(void*));
            return WriteInteger(out, spec, value, false);
        }
        case u'e':
        case u'E':
        case u'f':
        case u'g':
        case u'G':
            if (kind == FormatArg::Kind::Float) return WriteFloat(out, spec, arg.asFloat());
            if (kind == FormatArg::Kind::Signed) return WriteFloat(out, spec, static_cast<double>(arg.asSigned()));
            if (kind == FormatArg::Kind::Unsigned) return WriteFloat(out, spec, static_cast<double>(arg.asUnsigned()));
            return WriteAsOwnKind(out, spec, arg);
        default:
            return;
    }
}

int ReadNumber(const WCHAR*& p) {
    int value = 0;
    while (*p >= u'0' && *p <= u'9') {
        if (value <= kMaxField) value = value * 10 + (*p - u'0');
        ++p;
    }
    return value > kMaxField ? kMaxField : value;
}

// A "*" takes its value from an int argument. Returns false when the argument is missing.
bool ReadStarArg(ArgList& args, int& value) {
    const FormatArg* arg = args.next();
    if (!arg) return false;
    value = 0;
    if (arg->kind() == FormatArg::Kind::Signed || arg->kind() == FormatArg::Kind::Unsigned) {
        int64_t v = static_cast<int32_t>(static_cast<uint32_t>(arg->asUnsigned()));
        if (v > kMaxField) v = kMaxField;
        if (v < -kMaxField) v = -kMaxField;
        value = static_cast<int>(v);
    }
    return true;
}

void ReadSize(const WCHAR*& p, Spec& spec) {
    switch (*p) {
        case u'h':
            ++p;
            spec.narrow = true;
            spec.size = Size::Short;
            if (*p == u'h') ++p, spec.size = Size::Byte;
            return;
        case u'l':
            ++p;
            spec.wide = true;
            spec.size = Size::Long32;
            if (*p == u'l') ++p, spec.size = Size::Int64;
            return;
        case u'w':
            ++p;
            spec.wide = true;
            return;
        case u'L':
            ++p;
            return;
        case u'j':
        case u'q':
            ++p;
            spec.size = Size::Int64;
            return;
        case u'z':
        case u't':
            ++p;
            spec.size = Size::PtrSize;
            return;
        case u'I':
            ++p;
            if (p[0] == u'6' && p[1] == u'4') p += 2, spec.size = Size::Int64;
            else if (p[0] == u'3' && p[1] == u'2') p += 2, spec.size = Size::Long32;
            else spec.size = Size::PtrSize;
            return;
        default:
            return;
    }
}

bool IsConversion(char16_t c) {
    switch (c) {
        case u's': case u'S': case u'c': case u'C': case u'd': case u'i': case u'u': case u'x':
        case u'X': case u'o': case u'p': case u'e': case u'E': case u'f': case u'g': case u'G':
        case u'n':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::u16string FormatWide(const WCHAR* format, const FormatArg* args, size_t count) {
    std::u16string out;
    if (!format) return out;
    ArgList list(args, count);
    const WCHAR* p = format;
    while (*p) {
        if (*p != u'%') {
            out.push_back(*p++);
            continue;
        }
        const WCHAR* start = p++;
        if (*p == u'%') {
            out.push_back(u'%');
            ++p;
            continue;
        }
        Spec spec;
        bool missing = false;
        for (;; ++p) {
            if (*p == u'-') spec.left = true;
            else if (*p == u'+') spec.plus = true;
            else if (*p == u' ') spec.space = true;
            else if (*p == u'#') spec.alt = true;
            else if (*p == u'0') spec.zero = true;
            else break;
        }
        if (*p == u'*') {
            ++p;
            if (!ReadStarArg(list, spec.width)) missing = true;
            if (spec.width < 0) spec.left = true, spec.width = -spec.width;
        } else {
            spec.width = ReadNumber(p);
        }
        if (*p == u'.') {
            ++p;
            if (*p == u'*') {
                ++p;
                if (!ReadStarArg(list, spec.precision)) missing = true;
                if (spec.precision < 0) spec.precision = -1;  // a negative precision is none
            } else {
                spec.precision = ReadNumber(p);
            }
        }
        ReadSize(p, spec);
        if (!IsConversion(*p)) {
            // Unknown or cut short by the end of the format: the directive is copied as written.
            if (*p) ++p;
            out.append(start, static_cast<size_t>(p - start));
            continue;
        }
        spec.conv = *p++;
        const FormatArg* arg = list.next();
        // %n would store a count through a pointer; the engine never writes through arguments.
        if (missing || !arg || spec.conv == u'n') continue;
        WriteArg(out, spec, *arg);
    }
    return out;
}

}  // namespace vela
