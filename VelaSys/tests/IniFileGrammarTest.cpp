// The INI grammar and the look-ups over what it stored.
#include <gtest/gtest.h>

#include <VLSysIniFile.h>

#include <string>
#include <vector>

#include "TerminalTempDir.h"

namespace {

class Ini : public CVLSysIniFile {
public:
    using CVLSysIniFile::GetSpecData;
    using CVLSysIniFile::m_aSectionName;
    using CVLSysIniFile::m_mapSection;
    std::u16string Get(LPCWSTR section, LPCWSTR key) {
        CString value(u"<missing>");
        GetString(section, key, value);
        return value.str();
    }
    std::vector<std::u16string> Keys(LPCWSTR section) {
        void* found = nullptr;
        std::vector<std::u16string> keys;
        if (!m_mapSection.Lookup(section, found)) return keys;
        const CStringArray& all = static_cast<CVLSysIniFileSection*>(found)->m_aKey;
        for (INT_PTR i = 0; i < all.GetSize(); ++i) keys.push_back(all[i].str());
        return keys;
    }
};

struct Line {
    const char* body;         // file text; LF becomes CR LF
    const char16_t* section;  // where the look-up goes
    const char16_t* key;
    const char16_t* value;    // null: not found
};

TEST(IniGrammar, EachLineHasItsDocumentedEffect) {
    const Line lines[] = {
        {"A=1\n[S]\n", u"S", u"A", nullptr},  // key lines before any header are dropped
        {"[ menu ]\n  Text  =  Hello World  \n", u"MENU", u"TEXT", u"Hello World"},
        {"[Menu]\n[Other\nB=2\n", u"MENU", u"B", u"2"},  // no "]": the section stays
        {"[Menu] x=1\nA=1\n", u"MENU", u"X", nullptr},
        {"[S]\n  [Menu]\nA=1\n", u"S", u"A", u"1"},
        {"[S]\n # a=b\n", u"S", u"# A", u"b"},
        {"[S]\n#A=1\n", u"S", u"#A", nullptr},
        {"[S]\n-A=1\n", u"S", u"-A", nullptr},
        {"[S]\n/A=1\n", u"S", u"/A", nullptr},
        {"[S]\nPath = \\Temp\\a.exe ; start\n", u"S", u"PATH", u"\\Temp\\a.exe"},
        {"[S]\nX;=1\n", u"S", u"X", nullptr},
        {"[S]\nKey=\n", u"S", u"KEY", u""},
        {"[S]\n=value\n", u"S", u"", u"value"},
        {"[S]\nA=B=C\n", u"S", u"A", u"B=C"},
        {"[S]\nQ=\"x [y]\"\n", u"S", u"Q", u"\"x [y]\""},
        {"[S]\nA=1\nA=2\n", u"S", u"A", u"2"},
        {"[]\nA=1\r\r\n", u"", u"A", u"1"},
        {"[S]\nText=v\n", u"s", u"text", u"v"},  // look-ups ignore case
        {"[S]\nText=v\n", u" s", u"text", nullptr},  // but not blanks
        {"[S]\nText=v\n", u"s", u"text ", nullptr},
    };
    TerminalTempDir dir;
    for (const Line& line : lines) {
        Ini ini;
        ASSERT_TRUE(ini.Create(dir.Write("line.ini", line.body, true).c_str()));
        EXPECT_EQ(ini.Get(line.section, line.key), line.value ? line.value : u"<missing>") << line.body;
    }
}

TEST(IniGrammar, RepeatedHeadersAndKeysKeepTheirFirstPlace) {
    TerminalTempDir dir;
    Ini ini;
    ASSERT_TRUE(ini.Create(dir.Write("a.ini", "[Menu]\nB=1\nA=1\n[Other]\n[ menu ]\nB=2\nC=3\n", true).c_str()));
    ASSERT_TRUE(ini.Create(dir.Write("b.ini", "[MENU]\nD=4\nA=5\n[Third]\n", true).c_str()));
    EXPECT_EQ(ini.m_aSectionName.GetSize(), 3);
    EXPECT_EQ(ini.m_aSectionName[2], u"THIRD");
    EXPECT_EQ(ini.Keys(u"MENU"), (std::vector<std::u16string>{u"B", u"A", u"C", u"D"}));
    EXPECT_EQ(ini.Get(u"menu", u"b") + ini.Get(u"menu", u"a"), u"25");

    // SetAt stores a key as given, so a lower-case one is never found by the look-ups.
    auto* own = new CVLSysIniFileSection;
    own->SetAt(u"text", u"1");
    own->SetAt(u"text", u"2");
    ini.m_mapSection.SetAt(u"OWN", own);
    EXPECT_EQ(ini.Get(u"own", u"text"), u"<missing>");
    EXPECT_EQ(ini.Keys(u"OWN").size(), 1u);
}

// 表 and ソ end in the byte of "\", ー in that of "[" and ゾ in that of "]"; none may be
// taken for that character.
TEST(IniGrammar, TrailBytesOfCodePage932AreNotSyntax) {
    TerminalTempDir dir;
    Ini ini;
    ASSERT_TRUE(ini.Create(dir.Write("cp932.ini", "[\x83\x5D]\n\x83\x5C\x81\x5B=\x95\x5C\\\x83\x5D\n"
                                                  "[A\x83\x5D\nK=\x81\x5B[\n", true).c_str()));
    EXPECT_EQ(ini.Get(u"ゾ", u"ソー"), u"表\\ゾ");
    EXPECT_EQ(ini.Get(u"ゾ", u"K"), u"ー[");  // "[Aゾ" has no "]", so it is no header
}

TEST(IniLookup, ConversionsDefaultsAndBufferSizes) {
    TerminalTempDir dir;
    Ini ini;
    WCHAR buffer[16];
    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"N", u"dflt", buffer, 16), 4u);  // nothing loaded yet
    ASSERT_TRUE(ini.Create(dir.Write("l.ini", "[S]\nN=12abc\nA=abc\nE=\nM= -5\nL=0123456789\n", true).c_str()));
    const std::pair<const char16_t*, int> ints[] = {{u"N", 12}, {u"A", 0}, {u"E", 0}, {u"M", -5}, {u"X", 99}};
    for (const auto& [key, expected] : ints) EXPECT_EQ(ini.GetPrivateProfileInt(u"s", key, 99), expected);

    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"X", u"default", buffer, 16), 7u);
    EXPECT_EQ(std::u16string(buffer), u"default");
    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"X", nullptr, buffer, 16), 0u);
    EXPECT_EQ(ini.GetPrivateProfileString(nullptr, nullptr, u"d", buffer, 16), 1u);  // the empty name
    // Never more than size characters, terminator included.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"L", u"", buffer, 5), 4u);
    EXPECT_EQ(std::u16string(buffer, 6), std::u16string(u"0123\0#", 6));
    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"X", u"long default", buffer, 3), 2u);
    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"L", u"", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], u'l');
    EXPECT_EQ(ini.GetPrivateProfileString(u"S", u"L", u"", nullptr, 16), 0u);

    CString value(u'd', 5000);  // a default longer than any buffer survives a miss
    ini.GetString(u"S", u"X", value);
    EXPECT_EQ(value.GetLength(), 5000);
    int number = 7;
    ini.GetInt(u"S", u"X", number);
    EXPECT_EQ(number, 7);
}

}  // namespace
