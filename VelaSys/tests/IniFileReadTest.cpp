// Reading whole files: UTF-16 refusal, long lines, input that is no INI file at all, files
// that cannot be read, and the trace of what was read. Each has a defined result.
#include <gtest/gtest.h>

#include <VLSysIniFile.h>
#include <vela/MemoryStream.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "TerminalTempDir.h"

namespace {

using namespace std::string_literals;

class Ini : public CVLSysIniFile {
public:
    using CVLSysIniFile::GetSpecData;
    INT_PTR Sections() const { return m_mapSection.GetCount(); }
    std::u16string Get(LPCWSTR section, LPCWSTR key) {
        CString value(u"<missing>");
        GetString(section, key, value);
        return value.str();
    }
};

TEST(IniRead, Utf16IsRefusedOnAnyLineKeepingWhatCameBefore) {
    TerminalTempDir dir;
    const std::pair<std::string, INT_PTR> files[] = {
        {"\xFF\xFE[\0S\0]\0\r\0\n\0"s, 0},  // UTF-16LE with byte-order mark
        {"\xFE\xFF\0[\0S\0]\0\r\0\n"s, 0},  // UTF-16BE
        {"[Early]\r\nA=1\r\n\xFF\xFE" "B=2\r\n[Late]\r\n"s, 1},
        {"[\0S\0]\0\r\0\n\0A\0=\0001\0"s, 0},  // no mark: every line ends at a NUL
    };
    for (const auto& [bytes, sections] : files) {
        Ini ini;
        EXPECT_EQ(ini.Create(dir.Write("utf16.ini", bytes).c_str()), bytes[1] == '\0' ? TRUE : FALSE);
        EXPECT_EQ(ini.Sections(), sections);
        if (sections == 1) {
            EXPECT_EQ(ini.Get(u"EARLY", u"A") + ini.Get(u"EARLY", u"B"), u"1<missing>");
        }
    }
}

TEST(IniRead, LinesAreReadIn2047CharacterPieces) {
    // 3000 characters: the first piece holds A and 2045 characters, the other 953 are a line
    // of their own.
    const std::string line = "A=" + std::string(2045, 'v') + "B=" + std::string(951, 'w');
    TerminalTempDir dir;
    Ini ini;
    ASSERT_TRUE(ini.Create(dir.Write("long_line.ini", "[S]\n" + line + "\nV=" + std::string(100000, 'x') +
                                                          "\n[T]\nK=ok\n", true).c_str()));
    EXPECT_EQ(ini.Get(u"S", u"A"), std::u16string(2045, u'v'));
    EXPECT_EQ(ini.Get(u"S", u"B"), std::u16string(951, u'w'));
    EXPECT_EQ(ini.Get(u"S", u"V").size(), 2045u);
    EXPECT_EQ(ini.Get(u"T", u"K"), u"ok");
}

TEST(IniRead, JunkNulBytesAndBrokenCodePageStayWithinTheirLine) {
    std::string junk = "[S]\r\nA=1\0hidden=2\r\n\0B=3\r\nC=x\x81\r\nD\x82=y\r\nE=\x95\n[J]\n"s;
    uint32_t state = 12345;
    for (int i = 0; i < 100000; ++i) junk += static_cast<char>((state = state * 1103515245u + 12345u) >> 23);
    junk += "\n[Z]\r\nK=end\r\n[never closed\r\nL=1\r\n";
    TerminalTempDir dir;
    Ini ini;
    ini.Create(dir.Write("junk.ini", junk).c_str());
    EXPECT_EQ(ini.Get(u"S", u"A"), u"1");
    EXPECT_EQ(ini.Get(u"S", u"HIDDEN") + ini.Get(u"S", u"B"), u"<missing><missing>");
    EXPECT_EQ(ini.Get(u"S", u"C").substr(0, 1), u"x");
    EXPECT_EQ(ini.Get(u"S", u"D"), u"<missing>");  // the key is D and the lead byte's character
    EXPECT_EQ(ini.Get(u"Z", u"K") + ini.Get(u"Z", u"L"), u"end1");
}

TEST(IniRead, AMillionKeysAreAllFound) {
    std::string body = "[Big]\n";
    for (int i = 0; i < 1000000; ++i) body += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    // Parsed from memory: Create would also trace every entry in a debug build.
    FILE* stream = vela::OpenMemoryStream(body.data(), body.size(), true);
    ASSERT_NE(stream, nullptr);
    Ini ini;
    EXPECT_TRUE(ini.GetSpecData(stream));
    fclose(stream);
    for (int i = 0; i < 1000000; i += 9973) {
        std::u16string key = u"key";
        for (char c : std::to_string(i)) key += static_cast<char16_t>(c);
        EXPECT_EQ(ini.GetPrivateProfileInt(u"big", key.c_str(), -1), i);
    }
}

TEST(IniRead, FilesThatCannotBeReadLeaveTheObjectAsItWas) {
    TerminalTempDir dir;
    Ini ini;
    ASSERT_TRUE(ini.Create(dir.Write("good.ini", "[S]\r\nA=1\r\n").c_str()));
    std::filesystem::create_directories(dir.HostPath("folder.ini"));
    dir.Write("locked.ini", "[L]\r\nB=2\r\n");
    std::filesystem::permissions(dir.HostPath("locked.ini"), std::filesystem::perms::none);
    EXPECT_FALSE(ini.Create(dir.Path("folder.ini").c_str()));
    EXPECT_FALSE(ini.Create(dir.Path("missing.ini").c_str()));
    EXPECT_FALSE(ini.Create(nullptr));
    if (::geteuid() != 0) {  // root reads it anyway
        EXPECT_FALSE(ini.Create(dir.Path("locked.ini").c_str()));
    }
    EXPECT_EQ(ini.Sections(), 1);
    EXPECT_EQ(ini.Get(u"s", u"a"), u"1");
}

// The debug channel is chosen once per process, so the trace comes from a child run. The
// child has a terminal root of its own, so it is handed the file's text, not its path.
TEST(IniRead, DumpDataTracesEverySectionAndEntry) {
    if (const char* child = std::getenv("VELA_INI_DUMP_TEXT"); child != nullptr) {
        TerminalTempDir own;
        Ini ini;
        ini.Create(own.Write("dump.ini", child).c_str());
        return;
    }
#ifndef _DEBUG
    GTEST_SKIP() << "traces are compiled into debug builds only";
#endif
    TerminalTempDir dir;
    const std::string trace = dir.HostPath("trace.txt").string();
    const std::string command = "VELA_DEBUG='" + trace + "' VELA_INI_DUMP_TEXT='[Menu]\r\nText = Hello \r\n[Empty]\r\n" +
                                "' '" + std::filesystem::read_symlink("/proc/self/exe").string() +
                                "' --gtest_filter=IniRead.DumpDataTracesEverySectionAndEntry >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::stringstream dump;
    dump << std::ifstream(trace).rdbuf();
    EXPECT_NE(dump.str().find("SECTION=<MENU>\n\t<TEXT>=<Hello>\n"), std::string::npos) << dump.str();
    EXPECT_NE(dump.str().find("SECTION=<EMPTY>\n"), std::string::npos) << dump.str();
}

}  // namespace
