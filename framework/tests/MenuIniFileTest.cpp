// The menu grammar of CVLFWMenuIniFile, where it differs from the standard one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TerminalTempDir.h"
#include "VLFWMenuIniFile.h"

namespace {

class MenuIniProbe : public CVLFWMenuIniFile {
public:
    std::u16string Get(LPCWSTR section, LPCWSTR key) {
        CString value(u"<missing>");
        GetString(section, key, value);
        return value.str();
    }
    std::vector<std::u16string> ListedSections() const {
        std::vector<std::u16string> names;
        for (INT_PTR i = 0; i < m_aSectionName.GetSize(); ++i) names.emplace_back(m_aSectionName[i].str());
        return names;
    }
    INT_PTR SectionCount() const { return m_mapSection.GetCount(); }
};

TEST(MenuGrammar, DiffersFromTheStandardGrammarWhereItShould) {
    const char* body =
        "Early=kept\n"
        "[05]\n"
        "Args=/a;b\n"
        "Text=first\n"
        "text=second\n"
        "Address = x7 \n"
        "Text=in x7\n"
        "ADDRESS=05\n"
        "After=back in 05\n"
        "[x7]\n"
        "Text=late\n"
        "Address=LONGNAME\n"
        "# comment=1\n"
        "; Comment=2\n"
        "  [Not a header]\n";
    TerminalTempDir dir;
    MenuIniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("grammar.mnu", Crlf(body)).c_str()));
    EXPECT_EQ(ini.Get(u"PTBMENUSPECMAX", u"EARLY"), u"kept");
    EXPECT_EQ(ini.Get(u"05", u"ARGS"), u"/a;b");
    EXPECT_EQ(ini.Get(u"05", u"TEXT"), u"first");
    EXPECT_EQ(ini.Get(u"05", u"AFTER"), u"back in 05");
    EXPECT_EQ(ini.Get(u"05", u"ADDRESS"), u"<missing>");
    EXPECT_EQ(ini.Get(u"X7", u"TEXT"), u"in x7");
    EXPECT_EQ(ini.Get(u"LONGNAME", u"# COMMENT"), u"<missing>");
    // A line that is no header and has no "=" is skipped.
    EXPECT_EQ(ini.Get(u"LONGNAME", u"[NOT A HEADER]"), u"<missing>");
    // "X7" came from ADDRESS, so its later header adds no name to the list.
    EXPECT_EQ(ini.ListedSections(), (std::vector<std::u16string>{u"05"}));
    EXPECT_EQ(ini.SectionCount(), 4);
    EXPECT_EQ(ini.Get(u"PTBMENUSPECMAX", u"LENGTH"), u"8");
}

TEST(MenuGrammar, LengthIsZeroWithoutAddressAndMarkerLinesAreRefused) {
    TerminalTempDir dir;
    MenuIniProbe plain;
    ASSERT_TRUE(plain.Create(dir.Write("plain.mnu", "[01]\r\nKIND=1\r\n").c_str()));
    EXPECT_EQ(plain.Get(u"PTBMENUSPECMAX", u"LENGTH"), u"0");

    MenuIniProbe refused;
    EXPECT_FALSE(refused.Create(dir.Write("marker.mnu", "[01]\r\nKIND=1\r\n\xFE\xFF\r\n[02]\r\nKIND=1\r\n").c_str()));
    EXPECT_EQ(refused.Get(u"01", u"KIND"), u"1");
    EXPECT_EQ(refused.Get(u"02", u"KIND"), u"<missing>");
    EXPECT_EQ(refused.Get(u"PTBMENUSPECMAX", u"LENGTH"), u"<missing>");
}

TEST(MenuGrammar, LongLinesAndJunkGiveADefinedResult) {
    std::string body = "[01]\r\nTEXT=" + std::string(100000, 'y') + "\r\nKIND=1\r\n";
    uint32_t state = 7;
    for (int i = 0; i < 50000; ++i) {
        state = state * 1103515245u + 12345u;
        body += static_cast<char>(state >> 23);
    }
    TerminalTempDir dir;
    MenuIniProbe ini;
    ini.Create(dir.Write("junk.mnu", body).c_str());
    EXPECT_EQ(ini.Get(u"01", u"TEXT").size(), 2042u);
    EXPECT_EQ(ini.Get(u"01", u"KIND"), u"1");
}

}  // namespace
