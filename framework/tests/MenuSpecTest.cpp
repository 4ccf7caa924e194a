// Reading menu files into entries, and the menu grammar beneath.
#include <gtest/gtest.h>

#include <VelaFW.h>

#include <string>
#include <vector>

#include "TerminalTempDir.h"
#include "VLFWMenuIniFile.h"

namespace {

const CVLFWMenuItem& At(const CVLFWMenuSpec& spec, INT_PTR i) { return *static_cast<const CVLFWMenuItem*>(spec[i]); }

std::string Entry(const char* number, const char* text, const char* extra = "") {
    return std::string("[") + number + "]\nKIND=2\nTEXT=" + text + "\nEXEPATH=\\a.exe\n" + extra;
}

class MenuRead : public testing::Test {
protected:
    BOOL Read(const std::string& body, LPCWSTR logon = nullptr) {
        return spec.Read(dir.Write("menu.mnu", body, true).c_str(), u"Title", logon);
    }
    std::vector<std::u16string> Names() const {
        std::vector<std::u16string> names;
        for (INT_PTR i = 0; i < spec.GetSize(); ++i) names.push_back(At(spec, i).GetDispName().str());
        return names;
    }
    TerminalTempDir dir;
    CVLFWMenuSpec spec;
};

TEST_F(MenuRead, SectionsByNumberAndUniqueNames) {
    ASSERT_TRUE(Read(Entry("10", "Ten") + "[03]\nKIND=1\nTEXT=Scan\n" + Entry("01", "Scan") + Entry("04", "Scan") +
                     Entry("05", "SCAN") + "[06]\nKIND=1\n[07]\nKIND=1\n" + Entry("08", "Gone", "PARTSMODE=1\n") +
                     Entry("09", "Gone") + Entry("100", "Hundred") + Entry("101", "Over") + Entry("1", "NoZero") +
                     "[02]\nKIND=3\nTEXT=Kind3\n[11]\nTEXT=NoKind\n"));
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Scan", u"Scan(2)", u"Scan(3)", u"SCAN", u" ", u"  ", u"Gone",
                                                     u"Ten", u"Hundred"}));
    EXPECT_EQ(At(spec, 0).GetSelect() + u"," + At(spec, 1).GetSelect() + u"," + At(spec, 8).GetSelect(), u"1,,100");
    EXPECT_EQ(At(spec, 1).IsComment() * 10 + At(spec, 1).IsItem(), 10);
}

TEST_F(MenuRead, PathRunsizeArgumentsAndFirstValue) {
    struct Case {
        const char* lines;
        BOOL item, directory;
        int show;
    } cases[] = {
        {"EXEPATH=\\Windows\\Sub.MNU\nRUNSIZE=1\n", 0, 1, 6}, {"EXEPATH=\\w\\sub.mnux\nRUNSIZE=2\n", 1, 0, 11},
        {"EXEPATH=.mnu\nRUNSIZE=01\n", 0, 0, 5},              {"EXEPATH=\n", 0, 0, 5},
        {"EXEPATH=\\x.exe\nEXEPATH=\\y.mnu\n", 1, 0, 5},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Read(std::string("[01]\nKIND=2\n") + c.lines));
        ASSERT_EQ(spec.GetSize(), 1);
        EXPECT_EQ(At(spec, 0).IsItem(), c.item) << c.lines;
        EXPECT_EQ(At(spec, 0).IsDirectory(), c.directory) << c.lines;
        EXPECT_EQ(At(spec, 0).GetShowCommand(), c.show) << c.lines;
    }
    ASSERT_TRUE(Read("[01]\nKIND=2\nTEXT=First\nTEXT=Second\nENVPATH= /a;b \nCURRENTPATH=\\Temp\n"));
    EXPECT_EQ(At(spec, 0).GetDispName() + u"|" + At(spec, 0).GetArg() + u"|" + At(spec, 0).GetWorkingDirectory(),
              u"First|/a;b|\\Temp");
}

TEST_F(MenuRead, LogonComesFromTheEntryOrTheReader) {
    const std::string body = Entry("01", "Own", "LOGON=1\n") + Entry("02", "Named", "LOGON=1\nUSRNAME=alice\n") +
                             Entry("03", "Plain");
    const struct {
        LPCWSTR logon;
        BOOL plainUses;
        const char16_t* names;  // the three entries' log-on names
    } cases[] = {{u"guest", TRUE, u"guest,alice,guest"}, {nullptr, FALSE, u",alice,"}, {u"", TRUE, u",alice,"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Read(body, c.logon));
        EXPECT_EQ(spec.IsUseLogon(), c.logon != nullptr);
        EXPECT_TRUE(At(spec, 0).IsUseLogon());
        EXPECT_EQ(At(spec, 2).IsUseLogon(), c.plainUses);
        EXPECT_EQ(At(spec, 0).GetLogonName() + u"," + At(spec, 1).GetLogonName() + u"," + At(spec, 2).GetLogonName(),
                  c.names);
    }
}

TEST_F(MenuRead, AddressRedirectsAndCodePage932Text) {
    // ソ表ーゾ: trail bytes "\", "\", "[" and "]".
    ASSERT_TRUE(Read("TEXT=Before any header\nKIND=2\n[05]\nKIND=2\nADDRESS= 07 \nTEXT=\x83\x5C\x95\x5C\x81\x5B\x83\x5D\n"
                     "KIND=1\n[07]\nTEXT=Late\n[05]\nTEXT=Five\n"));
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Five", u"ソ表ーゾ"}));
    EXPECT_TRUE(At(spec, 1).IsComment());
}

TEST_F(MenuRead, FailedReadEmptiesTheListAndKeepsTheNewPath) {
    ASSERT_TRUE(Read(Entry("01", "One")));
    const std::u16string missing = dir.Path("missing.mnu");
    EXPECT_FALSE(spec.Read(missing.c_str(), nullptr, u"bob"));
    EXPECT_EQ(spec.GetSize(), 0);
    EXPECT_EQ(spec.GetFullPath().str() + u"|" + spec.GetDispName().str() + u"|" + spec.GetLogonName().str(),
              missing + u"|Title|bob");
    EXPECT_FALSE(spec.Read(dir.Write("utf16.mnu", std::string("[01]\r\nKIND=1\r\n\xFF\xFE\r\n")).c_str(), u"U", nullptr));
    EXPECT_EQ(spec.GetSize(), 0);
    ASSERT_TRUE(Read(Entry("01", "One")));  // names of the last file are forgotten
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"One"}));
}

class MenuIni : public CVLFWMenuIniFile {
public:
    using CVLFWMenuIniFile::m_aSectionName;
    std::u16string Get(LPCWSTR section, LPCWSTR key) {
        CString value(u"<missing>");
        GetString(section, key, value);
        return value.str();
    }
};

TEST(MenuGrammar, KeysBeforeHeadersAddressAndLength) {
    TerminalTempDir dir;
    MenuIni ini;
    ASSERT_TRUE(ini.Create(dir.Write("g.mnu", "Early=kept\n[05]\nText=first\ntext=second\nAddress = x7 \nA=in x7\n"
                                              "ADDRESS=05\nB=back\n[x7]\nAddress=LONGNAME\n  [no]\n", true).c_str()));
    EXPECT_EQ(ini.Get(u"PTBMENUSPECMAX", u"EARLY") + ini.Get(u"05", u"TEXT") + ini.Get(u"X7", u"A") +
                  ini.Get(u"05", u"B") + ini.Get(u"05", u"ADDRESS"),
              u"keptfirstin x7back<missing>");
    EXPECT_EQ(ini.m_aSectionName.GetSize(), 1);  // names made by ADDRESS are not listed
    EXPECT_EQ(ini.Get(u"PTBMENUSPECMAX", u"LENGTH"), u"8");

    MenuIni plain;
    ASSERT_TRUE(plain.Create(dir.Write("p.mnu", "[01]\r\nTEXT=" + std::string(5000, 'y') + "\r\n").c_str()));
    EXPECT_EQ(plain.Get(u"PTBMENUSPECMAX", u"LENGTH"), u"0");
    EXPECT_EQ(plain.Get(u"01", u"TEXT").size(), 2042u);  // the first piece of the line wins
}

}  // namespace
