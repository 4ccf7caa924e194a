// Look-ups: case rules, defaults, conversions and the caller's buffer size.
#include <gtest/gtest.h>

#include <string>

#include "IniProbe.h"

namespace {

class IniLookup : public testing::Test {
protected:
    void SetUp() override {
        const char* body =
            "[Menu]\nText=Hello\nNum=12abc\nAlpha=abc\nEmpty=\nNeg= -5\nLong=0123456789\n"
            "[]\n=root\n";
        ASSERT_TRUE(ini.Create(dir.Write("lookup.ini", Crlf(body)).c_str()));
    }
    TerminalTempDir dir;
    IniProbe ini;
};

TEST_F(IniLookup, SectionAndKeyMatchInAnyCaseButNotWithBlanks) {
    EXPECT_EQ(ini.Get(u"menu", u"text"), u"Hello");
    EXPECT_EQ(ini.Get(u"MeNu", u"TEXT"), u"Hello");
    EXPECT_EQ(ini.Get(u" menu", u"text"), u"<missing>");
    EXPECT_EQ(ini.Get(u"menu", u"text "), u"<missing>");
}

TEST_F(IniLookup, IntConvertsAnyExistingValue) {
    EXPECT_EQ(ini.GetPrivateProfileInt(u"menu", u"num", 99), 12);
    EXPECT_EQ(ini.GetPrivateProfileInt(u"menu", u"alpha", 99), 0);
    EXPECT_EQ(ini.GetPrivateProfileInt(u"menu", u"empty", 99), 0);
    EXPECT_EQ(ini.GetPrivateProfileInt(u"menu", u"neg", 99), -5);
    EXPECT_EQ(ini.GetPrivateProfileInt(u"menu", u"none", 99), 99);
    EXPECT_EQ(ini.GetPrivateProfileInt(u"nowhere", u"num", -7), -7);
    int value = 42;
    ini.GetInt(u"menu", u"none", value);
    EXPECT_EQ(value, 42);
    ini.GetInt(u"menu", u"num", value);
    EXPECT_EQ(value, 12);
}

TEST_F(IniLookup, StringGivesValueOrDefaultWithItsLength) {
    WCHAR buffer[64];
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"text", u"def", buffer, 64), 5u);
    EXPECT_EQ(std::u16string(buffer), u"Hello");
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"none", u"default", buffer, 64), 7u);
    EXPECT_EQ(std::u16string(buffer), u"default");
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"empty", u"default", buffer, 64), 0u);
    EXPECT_EQ(std::u16string(buffer), u"");
    // A null default counts as empty; null names are the empty name, not an enumeration.
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"none", nullptr, buffer, 64), 0u);
    EXPECT_EQ(ini.GetPrivateProfileString(nullptr, nullptr, u"d", buffer, 64), 4u);
    EXPECT_EQ(std::u16string(buffer), u"root");
    EXPECT_EQ(ini.GetPrivateProfileString(u"", u"", u"d", buffer, 64), 4u);
}

TEST_F(IniLookup, StringNeverWritesBeyondTheGivenSize) {
    WCHAR buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"long", u"", buffer, 5), 4u);
    EXPECT_EQ(std::u16string(buffer), u"0123");
    EXPECT_EQ(buffer[5], u'#');
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"none", u"a longer default", buffer, 3), 2u);
    EXPECT_EQ(std::u16string(buffer), u"a ");
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"text", u"x", buffer, 1), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], u' ');

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"text", u"x", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"text", u"x", nullptr, 64), 0u);
}

TEST_F(IniLookup, DefaultMayBeTheBufferItself) {
    WCHAR buffer[16] = u"self";
    EXPECT_EQ(ini.GetPrivateProfileString(u"menu", u"none", buffer, buffer, 16), 4u);
    EXPECT_EQ(std::u16string(buffer), u"self");
}

TEST_F(IniLookup, GetStringLeavesALongDefaultWhole) {
    CString value(u'd', 5000);
    ini.GetString(u"menu", u"none", value);
    EXPECT_EQ(value.GetLength(), 5000);
    ini.GetString(u"menu", u"text", value);
    EXPECT_EQ(value, u"Hello");
}

TEST(IniLookupEmpty, ObjectWithoutSectionsGivesDefaults) {
    IniProbe ini;
    WCHAR buffer[8];
    EXPECT_EQ(ini.GetPrivateProfileString(u"a", u"b", u"dflt", buffer, 8), 4u);
    EXPECT_EQ(ini.GetPrivateProfileInt(u"a", u"b", 3), 3);
    TerminalTempDir dir;
    EXPECT_FALSE(ini.Create(dir.Path("missing.ini").c_str()));
    EXPECT_FALSE(ini.Create(nullptr));
    EXPECT_EQ(ini.Get(u"a", u"b"), u"<missing>");
    EXPECT_EQ(ini.SectionCount(), 0);
}

}  // namespace
