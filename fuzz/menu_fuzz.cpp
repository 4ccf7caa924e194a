// libFuzzer target of the menu grammar: parse the input as a menu file from memory and look up
// every entry key, then read the same bytes from a file with CVLFWMenuSpec::Read, which makes
// the display names unique.
#include <VelaFW.h>
#include <vela/MemoryStream.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "VLFWMenuIniFile.h"

namespace {

class FuzzMenuIniFile : public CVLFWMenuIniFile {
public:
    BOOL Parse(FILE* stream) { return GetSpecData(stream); }
};

const LPCWSTR kKeys[] = {u"TEXT", u"KIND", u"PARTSMODE", u"EXEPATH", u"ENVPATH",
                         u"CURRENTPATH", u"RUNSIZE", u"LOGON", u"USRNAME"};

std::filesystem::path g_menuFile;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* root = std::getenv("VELA_ROOT");
    if (root == nullptr || *root == 0) {
        static std::string made = (std::filesystem::temp_directory_path() / "vela-fuzz-XXXXXX").string();
        if (::mkdtemp(made.data()) == nullptr) std::abort();
        ::setenv("VELA_ROOT", made.c_str(), 1);
        root = made.c_str();
    }
    g_menuFile = std::filesystem::path(root) / ("menu_fuzz_" + std::to_string(::getpid()) + ".mnu");
    return 0;
}

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

    std::ofstream(g_menuFile, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::u16string path = u"\\";
    for (char c : g_menuFile.filename().string()) path += static_cast<char16_t>(c);
    CVLFWMenuSpec spec;
    spec.Read(path.c_str(), u"Fuzz", size % 2 == 0 ? u"guest" : nullptr);
    for (INT_PTR i = 0; i < spec.GetSize(); ++i) {
        const auto* item = static_cast<const CVLFWMenuItem*>(spec[i]);
        if (item->GetDispName().IsEmpty()) std::abort();  // every entry gets a name
    }
    return 0;
}
