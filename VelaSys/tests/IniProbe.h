// Test access to the parsed contents of CVLSysIniFile.
#pragma once

#include <VLSysIniFile.h>

#include <string>
#include <vector>

#include "TerminalTempDir.h"

class IniProbe : public CVLSysIniFile {
public:
    using CVLSysIniFile::GetSpecData;

    CVLSysIniFileSection* Section(LPCWSTR upperName) {
        void* found = nullptr;
        return m_mapSection.Lookup(upperName, found) ? static_cast<CVLSysIniFileSection*>(found) : nullptr;
    }
    INT_PTR SectionCount() const { return m_mapSection.GetCount(); }
    std::vector<std::u16string> SectionNames() const {
        std::vector<std::u16string> names;
        for (INT_PTR i = 0; i < m_aSectionName.GetSize(); ++i) names.emplace_back(m_aSectionName[i].str());
        return names;
    }
    // The value as the look-ups give it, or "<missing>".
    std::u16string Get(LPCWSTR section, LPCWSTR key) {
        CString value(u"<missing>");
        GetString(section, key, value);
        return value.str();
    }
};

inline std::vector<std::u16string> Keys(const CVLSysIniFileSection& section) {
    std::vector<std::u16string> keys;
    for (INT_PTR i = 0; i < section.m_aKey.GetSize(); ++i) keys.emplace_back(section.m_aKey[i].str());
    return keys;
}
