// Section handling shared by the INI grammar and the readers derived from it: a header line's
// name, and finding or making the section it names.
#pragma once

#include "IniText.h"
#include "VLSysIniFile.h"

namespace vela::ini {

// The name of a header line that starts with "[": the text up to the first "]", trimmed and
// upper-cased, terminated in place. Null when the line holds no "]".
inline WCHAR* HeaderName(WCHAR* line) {
    WCHAR* close = wcschr(line + 1, u']');
    if (close == nullptr) return nullptr;
    WCHAR* begin = line + 1;
    WCHAR* end = close;
    Trim(begin, end);
    UpperInPlace(begin, end);
    *end = 0;
    return begin;
}

// The section held under name, or a new one entered under it. A new name is appended to
// names unless names is null (sections a reader keeps out of the listed order).
inline CVLSysIniFileSection* FindOrAddSection(CMapStringToPtr& sections, CStringArray* names, LPCWSTR name) {
    void* found = nullptr;
    if (sections.Lookup(name, found)) return static_cast<CVLSysIniFileSection*>(found);
    auto* section = new CVLSysIniFileSection;
    sections.SetAt(name, section);
    if (names != nullptr) names->Add(name);
    return section;
}

}  // namespace vela::ini
