// DumpData's trace lines. The debug channel is chosen once per process, when the library
// announces itself, so the trace is taken from a child run of this test with VELA_DEBUG set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "IniProbe.h"

namespace {

TEST(IniDump, TracesEverySectionAndEntry) {
    if (const char* child = std::getenv("VELA_INI_DUMP_FILE"); child != nullptr) {
        std::u16string path;
        for (const char* p = child; *p != 0; ++p) path += static_cast<char16_t>(*p);
        CVLSysIniFile ini;
        ini.Create(path.c_str());
        return;
    }
#ifndef _DEBUG
    GTEST_SKIP() << "traces are compiled into debug builds only";
#endif
    TerminalTempDir dir;
    dir.Write("dump.ini", "[Menu]\r\nText = Hello \r\n[Empty]\r\n");
    const std::string trace = dir.HostPath("trace.txt").string();
    std::string terminalPath;
    for (char16_t c : dir.Path("dump.ini")) terminalPath += static_cast<char>(c);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "VELA_DEBUG='" + trace + "' VELA_INI_DUMP_FILE='" + terminalPath + "' '" + self +
                                "' --gtest_filter=IniDump.TracesEverySectionAndEntry >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::ifstream in(trace);
    std::stringstream text;
    text << in.rdbuf();
    const std::string dump = text.str();
    EXPECT_NE(dump.find("SECTION=<MENU>\n\t<TEXT>=<Hello>\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("SECTION=<EMPTY>\n"), std::string::npos) << dump;
}

}  // namespace
