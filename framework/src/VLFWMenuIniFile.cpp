// The menu grammar of CVLFWMenuIniFile.
#include "VLFWMenuIniFile.h"

#include <tchar.h>

#include <cstdio>

// The character rules of the standard grammar, so that names upper-cased here are found by the
// look-ups of CVLSysIniFile.
#include "IniSections.h"

using namespace vela::ini;

namespace {

constexpr LPCWSTR kMaxSection = u"PTBMENUSPECMAX";

}  // namespace

CVLSysIniFileSection* CVLFWMenuIniFile::GetSection(LPCWSTR upperName) const {
    void* found = nullptr;
    return m_mapSection.Lookup(upperName, found) ? static_cast<CVLSysIniFileSection*>(found) : nullptr;
}

BOOL CVLFWMenuIniFile::GetSpecData(void* stream) {
    FILE* file = static_cast<FILE*>(stream);
    WCHAR line[kLineChars];
    int maxAddressLength = 0;

    // Key lines before the first header land here instead of being dropped.
    CVLSysIniFileSection* current = FindOrAddSection(m_mapSection, nullptr, kMaxSection);

    while (fgetws(line, kLineChars, file) != nullptr) {
        if (IsUtf16Marker(line)) return FALSE;
        const WCHAR first = line[0];
        if (first == 0 || IsCommentStart(first)) continue;

        if (first == u'[') {
            if (WCHAR* name = HeaderName(line)) current = FindOrAddSection(m_mapSection, &m_aSectionName, name);
            continue;
        }

        WCHAR* equals = wcschr(line, u'=');
        if (equals == nullptr) continue;
        WCHAR* keyBegin = line;
        WCHAR* keyEnd = equals;
        WCHAR* valueBegin = equals + 1;
        WCHAR* valueEnd = valueBegin + wcslen(valueBegin);
        Trim(keyBegin, keyEnd);
        Trim(valueBegin, valueEnd);
        UpperInPlace(keyBegin, keyEnd);
        *keyEnd = 0;
        *valueEnd = 0;

        if (wcscmp(keyBegin, u"ADDRESS") == 0) {
            // Later key lines go to the section the value names; a name made here is not
            // listed in m_aSectionName.
            UpperInPlace(valueBegin, valueEnd);
            const INT_PTR before = m_mapSection.GetCount();
            current = FindOrAddSection(m_mapSection, nullptr, valueBegin);
            const int length = static_cast<int>(valueEnd - valueBegin);
            if (m_mapSection.GetCount() != before && length > maxAddressLength) maxAddressLength = length;
            continue;
        }

        // The first value of a key wins: a known key is left alone. One hashing serves both the
        // test and the store, since the map grows exactly when the key is new.
        const INT_PTR before = current->m_mapValue.GetCount();
        CString& slot = current->m_mapValue[keyBegin];
        if (current->m_mapValue.GetCount() == before) continue;
        slot = valueBegin;
        current->m_aKey.Add(keyBegin);
    }

    void* found = nullptr;
    if (!m_mapSection.Lookup(kMaxSection, found)) return FALSE;
    CString length;
    length.Format(u"%d", maxAddressLength);
    static_cast<CVLSysIniFileSection*>(found)->SetAt(u"LENGTH", length);
    return TRUE;
}
