// CVLFWMenuIniFile: the INI reader with the menu grammar. Private to the menu reader.
#pragma once

#include <VLSysIniFile.h>

class CVLFWMenuIniFile : public CVLSysIniFile {
public:
    CVLFWMenuIniFile() = default;
    ~CVLFWMenuIniFile() override = default;

    // The section stored under the upper-case name, or null. Lets the menu reader make its
    // look-ups of one entry against one section, as the look-ups by name would.
    CVLSysIniFileSection* GetSection(LPCWSTR upperName) const;

protected:
    // Differs from the standard grammar: key lines before the first header go to the section
    // "PTBMENUSPECMAX"; values keep ";"; "ADDRESS=name" switches to (or makes) the section
    // name; the first value of a repeated key wins.
    BOOL GetSpecData(void* stream) override;
};
