// Character rules of the INI grammar, shared by the parser and the look-ups so that a name
// upper-cased while parsing is found by a look-up that upper-cases the same way.
#pragma once

#include <windows.h>

namespace vela::ini {

// The runtime library's wide space class; ASCII answered inline since nearly every
// character a file holds is ASCII.
inline bool IsSpace(WCHAR c) {
    if (c < 0x80) return c == u' ' || (c >= u'\t' && c <= u'\r');
    return iswspace(c) != 0;
}

inline WCHAR Upper(WCHAR c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<WCHAR>(c - (u'a' - u'A')) : c;
    return towupper(c);
}

inline void UpperInPlace(WCHAR* begin, WCHAR* end) {
    for (; begin < end; ++begin) *begin = Upper(*begin);
}

// Narrows [begin, end) to its text without leading and trailing white space.
inline void Trim(WCHAR*& begin, WCHAR*& end) {
    while (begin < end && IsSpace(*begin)) ++begin;
    while (end > begin && IsSpace(end[-1])) --end;
}

// The bytes FF FE or FE FF (a UTF-16 byte-order mark) as code page 932 decodes them.
inline bool IsUtf16Marker(const WCHAR* line) {
    return (line[0] == 0xF8F3 && line[1] == 0xF8F2) || (line[0] == 0xF8F2 && line[1] == 0xF8F3);
}

inline bool IsCommentStart(WCHAR c) { return c == u'#' || c == u'-' || c == u'/' || c == u';'; }

// A line is read in pieces of at most kLineChars - 1 characters.
constexpr int kLineChars = 2048;

}  // namespace vela::ini
