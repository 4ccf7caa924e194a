// libFuzzer target of the INI grammar: parse the input as a specification file, then look up
// names taken from the parsed result and from fixed probes.
#include <VelaSys.h>
#include <vela/MemoryStream.h>

#include <cstddef>
#include <cstdint>

namespace {

class FuzzIniFile : public CVLSysIniFile {
public:
    BOOL Parse(FILE* stream) { return GetSpecData(stream); }

    void LookUpEverything() {
        WCHAR buffer[64];
        POSITION pos = m_mapSection.GetStartPosition();
        while (pos != nullptr) {
            CString name;
            void* found = nullptr;
            m_mapSection.GetNextAssoc(pos, name, found);
            auto* section = static_cast<CVLSysIniFileSection*>(found);
            POSITION entry = section->GetStartPosition();
            while (entry != nullptr) {
                CString key;
                CString value;
                section->GetNextAssoc(entry, key, value);
                GetPrivateProfileString(name, key, u"d", buffer, 64);
                GetPrivateProfileInt(name, key, -1);
            }
        }
        for (INT_PTR i = 0; i < m_aSectionName.GetSize(); ++i) {
            CString value;
            GetString(m_aSectionName[i], u"key", value);
        }
        GetPrivateProfileString(nullptr, nullptr, nullptr, buffer, 1);
        GetPrivateProfileString(u"", u"", u"default", buffer, 4);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* stream = vela::OpenMemoryStream(data, size, true);
    if (stream == nullptr) return 0;
    FuzzIniFile ini;
    ini.Parse(stream);
    fclose(stream);
    ini.LookUpEverything();
    return 0;
}
