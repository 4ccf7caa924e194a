// The INI grammar, one file body and its effect per case.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "IniProbe.h"

namespace {

struct GrammarCase {
    const char* name;
    const char* body;  // written with CR LF line ends
    std::vector<std::pair<const char16_t*, const char16_t*>> expected;  // "SECTION/KEY" -> value
    std::vector<const char16_t*> missing;                                // "SECTION/KEY"
};

std::pair<std::u16string, std::u16string> Split(const char16_t* path) {
    std::u16string text(path);
    size_t slash = text.find(u'/');
    return {text.substr(0, slash), text.substr(slash + 1)};
}

class IniGrammar : public testing::TestWithParam<GrammarCase> {};

TEST_P(IniGrammar, StoresWhatTheLinesSay) {
    const GrammarCase& c = GetParam();
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("case.ini", Crlf(c.body)).c_str()));
    for (const auto& [where, value] : c.expected) {
        auto [section, key] = Split(where);
        EXPECT_EQ(ini.Get(section.c_str(), key.c_str()), std::u16string(value)) << "at " << c.name;
    }
    for (const char16_t* where : c.missing) {
        auto [section, key] = Split(where);
        EXPECT_EQ(ini.Get(section.c_str(), key.c_str()), u"<missing>") << "at " << c.name;
    }
}

const GrammarCase kCases[] = {
    {"key_before_header", "A=1\n[S]\nB=2\n", {{u"S/B", u"2"}}, {u"S/A", u"/A"}},
    {"trimmed_upper_case_names", "[ menu ]\n  Text  =  Hello World  \n", {{u"MENU/TEXT", u"Hello World"}}, {}},
    {"header_without_bracket_keeps_section", "[Menu]\nA=1\n[Other\nB=2\n",
     {{u"MENU/A", u"1"}, {u"MENU/B", u"2"}}, {u"OTHER/B"}},
    {"text_after_bracket_ignored", "[Menu] trailing=x\nA=1\n", {{u"MENU/A", u"1"}}, {u"MENU/TRAILING"}},
    {"blank_before_bracket_is_no_header", "[S]\n  [Menu]\nA=1\n", {{u"S/A", u"1"}}, {u"MENU/A"}},
    {"blank_before_hash_is_no_comment", "[S]\n # a=b\n", {{u"S/# A", u"b"}}, {}},
    {"comment_columns", "[S]\n#A=1\n-B=2\n/C=3\n;D=4\nE=5\n", {{u"S/E", u"5"}},
     {u"S/#A", u"S/-B", u"S//C", u"S/;D"}},
    {"semicolon_cuts_line", "[S]\nPath = \\Temp\\a.exe ; start\nX;=1\n", {{u"S/PATH", u"\\Temp\\a.exe"}}, {u"S/X"}},
    {"empty_value_and_key", "[S]\nKey=\n=value\n", {{u"S/KEY", u""}, {u"S/", u"value"}}, {}},
    {"value_keeps_equals_brackets_quotes", "[S]\nA=B=C\nQ=\"x y\"\nR=[z]\n",
     {{u"S/A", u"B=C"}, {u"S/Q", u"\"x y\""}, {u"S/R", u"[z]"}}, {}},
    {"line_without_equals_skipped", "[S]\njust text\nA=1\n", {{u"S/A", u"1"}}, {u"S/JUST TEXT"}},
    {"last_value_wins", "[S]\nA=1\nA=2\n", {{u"S/A", u"2"}}, {}},
    {"empty_section_name", "[]\nA=1\n", {{u"/A", u"1"}}, {}},
    {"lone_cr_is_white_space", "[S]\nA=1\r\r\n", {{u"S/A", u"1"}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Lines, IniGrammar, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GrammarCase>& param) { return param.param.name; });

TEST(IniGrammarOrder, RepeatedHeadersAndKeysKeepTheirFirstPlace) {
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("order.ini", Crlf("[Menu]\nB=1\nA=1\n[Other]\nX=1\n[ menu ]\nB=2\nC=3\n")).c_str()));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::u16string>{u"MENU", u"OTHER"}));
    EXPECT_EQ(ini.SectionCount(), 2);
    CVLSysIniFileSection* menu = ini.Section(u"MENU");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Keys(*menu), (std::vector<std::u16string>{u"B", u"A", u"C"}));
    EXPECT_EQ(ini.Get(u"MENU", u"B"), u"2");
}

TEST(IniGrammarOrder, SetAtKeepsTheKeyAsGivenAndKeysMatchTheMap) {
    CVLSysIniFileSection section;
    section.SetAt(u" low ", u"1");
    section.SetAt(u"LOW", u"2");
    section.SetAt(u" low ", u"3");
    EXPECT_EQ(Keys(section), (std::vector<std::u16string>{u" low ", u"LOW"}));
    EXPECT_EQ(section.m_mapValue.GetCount(), 2);
    CString value(u"untouched");
    EXPECT_FALSE(section.Lookup(u"low", value));
    EXPECT_EQ(value, u"untouched");
    EXPECT_TRUE(section.Lookup(u" low ", value));
    EXPECT_EQ(value, u"3");

    // Enumeration visits every entry once, whatever its order.
    int visited = 0;
    for (POSITION pos = section.GetStartPosition(); pos != nullptr; ++visited) {
        CString key, val;
        section.GetNextAssoc(pos, key, val);
    }
    EXPECT_EQ(visited, 2);
    CVLSysIniFileSection empty;
    EXPECT_EQ(empty.GetStartPosition(), nullptr);
}

TEST(IniGrammarOrder, LowerCaseKeysStoredBySetAtAreNeverFound) {
    class Reader : public CVLSysIniFile {
    public:
        Reader() {
            auto* section = new CVLSysIniFileSection;
            section->SetAt(u"text", u"lower");
            m_mapSection.SetAt(u"MENU", section);
            m_aSectionName.Add(u"MENU");
        }
    } reader;
    CString value(u"default");
    reader.GetString(u"MENU", u"text", value);
    EXPECT_EQ(value, u"default");
}

// Code page 932 characters whose trail bytes are "\" (0x5C), "[" (0x5B) and "]" (0x5D) must
// never be taken for those characters.
TEST(IniGrammarCodePage, TrailBytesAreNotBrackets) {
    const std::string hyo = "\x95\x5C", so = "\x83\x5C", choon = "\x81\x5B", zo = "\x83\x5D";
    std::string body = "[" + zo + "]\r\n" + so + choon + "=" + hyo + "\\" + zo + "\r\n" + "[" + choon + "x" + zo +
                       "]\r\n" + "K=" + choon + "[" + so + "\r\n" + "[A" + zo + "\r\n" + "L=" + zo + "\r\n";
    TerminalTempDir dir;
    IniProbe ini;
    ASSERT_TRUE(ini.Create(dir.Write("cp932.ini", body).c_str()));
    EXPECT_EQ(ini.Get(u"ゾ", u"ソー"), u"表\\ゾ");
    EXPECT_EQ(ini.Get(u"ーxゾ", u"K"), u"ー[ソ");
    // "[Aゾ" has no closing bracket: the line is skipped, so L stays in the section before it.
    EXPECT_EQ(ini.Get(u"ーxゾ", u"L"), u"ゾ");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::u16string>{u"ゾ", u"ーXゾ"}));
}

}  // namespace
