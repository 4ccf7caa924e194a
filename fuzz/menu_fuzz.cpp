// libFuzzer target of the menu grammar: parse the input as a menu file, then read the entries
// the way CVLFWMenuSpec::Read does, by look-ups of the numbered sections.
#include <VelaFW.h>
#include <vela/MemoryStream.h>

#include <cstddef>
#include <cstdint>

#include "VLFWMenuIniFile.h"

namespace {

class FuzzMenuIniFile : public CVLFWMenuIniFile {
public:
    BOOL Parse(FILE* stream) { return GetSpecData(stream); }
};

const LPCWSTR kKeys[] = {u"TEXT", u"KIND", u"PARTSMODE", u"EXEPATH", u"ENVPATH",
                         u"CURRENTPATH", u"RUNSIZE", u"LOGON", u"USRNAME"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* stream = vela::OpenMemoryStream(data, size, true);
    if (stream == nullptr) return 0;
    FuzzMenuIniFile ini;
    ini.Parse(stream);
    fclose(stream);
    for (int number = 1; number <= 101; ++number) {
        CString section;
        section.Format(u"%02d", number);
        for (LPCWSTR key : kKeys) {
            CString value;
            int n = 0;
            ini.GetString(section, key, value);
            ini.GetInt(section, key, n);
        }
    }
    CString length;
    ini.GetString(u"PTBMENUSPECMAX", u"LENGTH", length);
    return 0;
}
