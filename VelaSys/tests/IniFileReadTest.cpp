// Reading whole files: merging, UTF-16 refusal, long lines, and input that is not an INI
// file at all. Each gives a defined result.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <vela/MemoryStream.h>

#include "IniProbe.h"

namespace {

TEST(IniRead, SecondCreateMergesIntoTheFirst) {
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("a.ini", Crlf("[Menu]\nA=1\nB=1\n[Only]\nX=a\n")).c_str()));
    ASSERT_TRUE(ini.Create(dir.Write("b.ini", Crlf("[menu]\nB=2\nC=2\n[Second]\nY=b\n")).c_str()));
    EXPECT_EQ(ini.Get(u"MENU", u"A"), u"1");
    EXPECT_EQ(ini.Get(u"MENU", u"B"), u"2");
    EXPECT_EQ(ini.Get(u"MENU", u"C"), u"2");
    EXPECT_EQ(ini.Get(u"ONLY", u"X"), u"a");
    EXPECT_EQ(ini.Get(u"SECOND", u"Y"), u"b");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::u16string>{u"MENU", u"ONLY", u"SECOND"}));
    EXPECT_EQ(Keys(*ini.Section(u"MENU")), (std::vector<std::u16string>{u"A", u"B", u"C"}));
}

TEST(IniRead, Utf16MarkerIsRefusedOnAnyLineKeepingWhatCameBefore) {
    TerminalTempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        INT_PTR sectionsKept;
    } cases[] = {
        {"bom_utf16le.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12), 0},
        {"bom_utf16be.ini", std::string("\xFE\xFF\0[\0S\0]\0\r\0\n", 12), 0},
        {"marker_mid.ini", "[Early]\r\nA=1\r\n\xFF\xFE" "B=2\r\n[Late]\r\nC=3\r\n", 1},
    };
    for (const Case& c : cases) {
        IniProbe ini;
        EXPECT_FALSE(ini.Create(dir.Write(c.name, c.bytes).c_str())) << c.name;
        EXPECT_EQ(ini.SectionCount(), c.sectionsKept) << c.name;
    }
    IniProbe ini;
    ini.Create(dir.Path("marker_mid.ini").c_str());
    EXPECT_EQ(ini.Get(u"EARLY", u"A"), u"1");
    EXPECT_EQ(ini.Get(u"EARLY", u"B"), u"<missing>");
    EXPECT_EQ(ini.Get(u"LATE", u"C"), u"<missing>");
}

TEST(IniRead, Utf16WithoutMarkerReadsAsNothing) {
    // Every other byte is NUL, so each line ends at its first character.
    std::u16string text = u"[Menu]\r\nText=Hello\r\n";
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    TerminalTempDir dir;
    IniProbe ini;
    EXPECT_TRUE(ini.Create(dir.Write("utf16le_nobom.ini", bytes).c_str()));
    EXPECT_EQ(ini.SectionCount(), 0);
}

TEST(IniRead, LongLinesAreReadIn2047CharacterPieces) {
    // 3000 characters: "A=" and 2045 characters, then a second piece of 953 that is a line of
    // its own.
    std::string line = "A=" + std::string(2045, 'v') + "B=" + std::string(951, 'w');
    ASSERT_EQ(line.size(), 3000u);
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("long_line.ini", "[S]\r\n" + line + "\r\nC=1\r\n").c_str()));
    EXPECT_EQ(ini.Get(u"S", u"A"), std::u16string(2045, u'v'));
    EXPECT_EQ(ini.Get(u"S", u"B"), std::u16string(951, u'w'));
    EXPECT_EQ(ini.Get(u"S", u"C"), u"1");

    // 100,000 characters of one value: 48 pieces without "=" after the first; the file goes on.
    IniProbe big;
    std::string huge = "[S]\r\nV=" + std::string(100000, 'x') + "\r\n[T]\r\nK=ok\r\n";
    ASSERT_TRUE(big.Create(dir.Write("huge_line.ini", huge).c_str()));
    EXPECT_EQ(big.Get(u"S", u"V").size(), 2045u);
    EXPECT_EQ(big.Get(u"T", u"K"), u"ok");
}

TEST(IniRead, NulBytesEndTheirLineOnly) {
    std::string bytes("[S]\r\nA=1\0hidden=2\r\n\0B=3\r\nC=4\r\n", 30);
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("nul_bytes.ini", bytes).c_str()));
    EXPECT_EQ(ini.Get(u"S", u"A"), u"1");
    EXPECT_EQ(ini.Get(u"S", u"HIDDEN"), u"<missing>");
    EXPECT_EQ(ini.Get(u"S", u"B"), u"<missing>");
    EXPECT_EQ(ini.Get(u"S", u"C"), u"4");
}

TEST(IniRead, BrokenCodePageSequencesStayInTheirLine) {
    // A lead byte before the line end, one before "=", and one cut off by the end of the file.
    std::string bytes = "[S]\r\nA=x\x81\r\nB\x82=y\r\nC=\xFC\x20z\r\nD=\x95";
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("truncated_cp932.ini", bytes).c_str()));
    EXPECT_EQ(ini.Get(u"S", u"A").substr(0, 1), u"x");
    EXPECT_NE(ini.Get(u"S", u"C"), u"<missing>");
    EXPECT_NE(ini.Get(u"S", u"D"), u"<missing>");
    EXPECT_EQ(ini.Get(u"S", u"B"), u"<missing>");  // the key is "B" and one more character
}

TEST(IniRead, BinaryJunkGivesADefinedResult) {
    std::string bytes;
    uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 23);
    }
    TerminalTempDir dir;
    for (int round = 0; round < 2; ++round) {
        IniProbe ini;
        ini.Create(dir.Write("junk.bin", bytes).c_str());
        WCHAR buffer[16];
        EXPECT_LE(ini.GetPrivateProfileString(u"S", u"K", u"d", buffer, 16), 15u);
        bytes = "[S]\r\n" + bytes;  // the second round starts with a section
    }
}

TEST(IniRead, SectionsThatNeverCloseAreSkipped) {
    std::string body = "[Open]\r\nA=1\r\n";
    for (int i = 0; i < 10000; ++i) body += "[never" + std::to_string(i) + "\r\nK" + std::to_string(i) + "=v\r\n";
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("unclosed.ini", body).c_str()));
    EXPECT_EQ(ini.SectionCount(), 1);
    EXPECT_EQ(Keys(*ini.Section(u"OPEN")).size(), 10001u);
}

TEST(IniRead, AMillionKeysAreAllFound) {
    constexpr int kKeys = 1000000;
    std::string body = "[Big]\r\n";
    body.reserve(static_cast<size_t>(kKeys) * 20);
    for (int i = 0; i < kKeys; ++i) body += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    // Parsed from memory: Create would also trace every entry in a debug build.
    FILE* stream = vela::OpenMemoryStream(body.data(), body.size(), true);
    ASSERT_NE(stream, nullptr);
    IniProbe ini;
    EXPECT_TRUE(ini.GetSpecData(stream));
    fclose(stream);
    CVLSysIniFileSection* big = ini.Section(u"BIG");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->m_aKey.GetSize(), kKeys);
    EXPECT_EQ(big->m_mapValue.GetCount(), kKeys);
    for (int i = 0; i < kKeys; i += 9973) {
        std::u16string key = u"key";
        for (char c : std::to_string(i)) key += static_cast<char16_t>(c);
        EXPECT_EQ(ini.GetPrivateProfileInt(u"big", key.c_str(), -1), i);
    }
    EXPECT_EQ(big->m_aKey[kKeys - 1], u"KEY999999");
}

TEST(IniRead, FilesThatCannotBeReadLeaveTheObjectAsItWas) {
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("good.ini", "[S]\r\nA=1\r\n").c_str()));
    std::filesystem::create_directories(dir.HostPath("folder.ini"));
    EXPECT_FALSE(ini.Create(dir.Path("folder.ini").c_str()));
    EXPECT_FALSE(ini.Create(dir.Path("missing.ini").c_str()));
    EXPECT_FALSE(ini.Create(u""));
    if (::geteuid() != 0) {  // root reads a file whatever its mode
        dir.Write("locked.ini", "[L]\r\nB=2\r\n");
        std::filesystem::permissions(dir.HostPath("locked.ini"), std::filesystem::perms::none);
        EXPECT_FALSE(ini.Create(dir.Path("locked.ini").c_str()));
    }
    EXPECT_EQ(ini.SectionCount(), 1);
    EXPECT_EQ(ini.Get(u"S", u"A"), u"1");
}

TEST(IniRead, ExampleFileFoundWhateverTheCaseOfItsName) {
    TerminalTempDir dir;
    dir.CopyData("examples.ini");
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Path("EXAMPLES.INI").c_str()));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::u16string>{u"MENU"}));
    EXPECT_EQ(ini.Get(u"menu", u"ignored"), u"<missing>");
    EXPECT_EQ(ini.Get(u"menu", u"text"), u"Again");
    EXPECT_EQ(ini.Get(u"menu", u"path"), u"\\Temp\\a.exe");
    EXPECT_EQ(ini.Get(u"menu", u"# a"), u"b");
    EXPECT_EQ(ini.Get(u"menu", u"key"), u"");
    EXPECT_EQ(ini.Get(u"menu", u""), u"value");
    EXPECT_EQ(ini.Get(u"menu", u"a"), u"B=C");
    EXPECT_EQ(ini.Get(u"menu", u"quoted"), u"\"kept\"");
    EXPECT_EQ(Keys(*ini.Section(u"MENU")),
              (std::vector<std::u16string>{u"TEXT", u"PATH", u"# A", u"KEY", u"", u"A", u"QUOTED"}));
}

}  // namespace
