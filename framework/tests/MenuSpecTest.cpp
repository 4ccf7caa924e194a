// Reading menu files into entries: numbering, kinds, names, paths, show commands, log-on.
#include <gtest/gtest.h>

#include <VelaFW.h>

#include <string>
#include <vector>

#include "TerminalTempDir.h"

namespace {

const CVLFWMenuItem& At(const CVLFWMenuSpec& spec, INT_PTR index) {
    return *static_cast<const CVLFWMenuItem*>(spec.GetAt(index));
}

std::vector<std::u16string> Names(const CVLFWMenuSpec& spec) {
    std::vector<std::u16string> names;
    for (INT_PTR i = 0; i < spec.GetSize(); ++i) names.emplace_back(At(spec, i).GetDispName().str());
    return names;
}

// A program entry section.
std::string Entry(const char* number, const char* text, const char* extra = "") {
    return std::string("[") + number + "]\nKIND=2\nTEXT=" + text + "\nEXEPATH=\\Windows\\a.exe\n" + extra;
}

class MenuSpecRead : public testing::Test {
protected:
    std::u16string Write(const std::string& body) { return dir.Write("menu.mnu", Crlf(body)); }
    BOOL Read(const std::string& body, LPCWSTR logon = nullptr) {
        return spec.Read(Write(body).c_str(), u"Title", logon);
    }
    TerminalTempDir dir;
    CVLFWMenuSpec spec;
};

TEST_F(MenuSpecRead, SectionsAreVisitedByNumberWithGapsAllowed) {
    ASSERT_TRUE(Read(Entry("10", "Ten") + "[03]\nKIND=1\nTEXT=Label\n" + Entry("01", "One")));
    ASSERT_EQ(spec.GetSize(), 3);
    EXPECT_EQ(Names(spec), (std::vector<std::u16string>{u"One", u"Label", u"Ten"}));
    EXPECT_EQ(At(spec, 0).GetSelect(), u"1");
    EXPECT_EQ(At(spec, 1).GetSelect(), u"");
    EXPECT_EQ(At(spec, 2).GetSelect(), u"10");
    EXPECT_EQ(At(spec, 1).IsComment(), 1);
    EXPECT_EQ(At(spec, 1).IsItem(), 0);
    EXPECT_EQ(At(spec, 0).IsItem(), 1);
    EXPECT_EQ(spec.GetDispName(), u"Title");
}

TEST_F(MenuSpecRead, OnlyTwoDigitNumbersUpTo100AreRead) {
    ASSERT_TRUE(Read(Entry("100", "Hundred") + Entry("101", "Over") + Entry("1", "NoZero") + Entry("001", "Three") +
                     "[05]\nKIND=3\nTEXT=Kind3\n[06]\nTEXT=NoKind\n"));
    EXPECT_EQ(Names(spec), (std::vector<std::u16string>{u"Hundred"}));
    EXPECT_EQ(At(spec, 0).GetSelect(), u"100");
}

TEST_F(MenuSpecRead, DisplayNamesAreMadeUnique) {
    ASSERT_TRUE(Read(Entry("01", "Scan") + Entry("02", "Scan") + "[03]\nKIND=1\nTEXT=Scan\n" + Entry("04", "SCAN") +
                     "[05]\nKIND=1\n[06]\nKIND=1\n" + Entry("07", "Scan(2)") + Entry("08", "Gone", "PARTSMODE=1\n") +
                     Entry("09", "Gone")));
    EXPECT_EQ(Names(spec), (std::vector<std::u16string>{u"Scan", u"Scan(2)", u"Scan(3)", u"SCAN", u" ", u"  ",
                                                         u"Scan(2)(2)", u"Gone"}));
}

TEST_F(MenuSpecRead, PathEndingDecidesTheKind) {
    struct Case {
        const char* path;
        BOOL item;
        BOOL directory;
    } cases[] = {
        {"\\Windows\\Sub.MNU", 0, 1}, {"\\Windows\\sub.mnux", 1, 0}, {".mnu", 0, 0},
        {"a.mnu", 0, 1},              {"", 0, 0},                     {"\\x.exe", 1, 0},
    };
    std::string body;
    int number = 1;
    for (const Case& c : cases) {
        body += "[0" + std::to_string(number++) + "]\nKIND=2\nTEXT=" + c.path + "\nEXEPATH=" + c.path + "\n";
    }
    ASSERT_TRUE(Read(body));
    ASSERT_EQ(spec.GetSize(), 6);
    for (INT_PTR i = 0; i < 6; ++i) {
        EXPECT_EQ(At(spec, i).IsItem(), cases[i].item) << cases[i].path;
        EXPECT_EQ(At(spec, i).IsDirectory(), cases[i].directory) << cases[i].path;
        EXPECT_EQ(At(spec, i).IsComment(), 0);
        EXPECT_EQ(At(spec, i).IsEmpty(), 0);
    }
    EXPECT_EQ(At(spec, 0).GetFullPath(), u"\\Windows\\Sub.MNU");
}

TEST_F(MenuSpecRead, RunsizeGivesTheShowCommand) {
    ASSERT_TRUE(Read(Entry("01", "a", "RUNSIZE=1\n") + Entry("02", "b", "RUNSIZE=2\n") + Entry("03", "c", "RUNSIZE=01\n") +
                     Entry("04", "d") + Entry("05", "e", "RUNSIZE=3\n")));
    std::vector<int> shows;
    for (INT_PTR i = 0; i < spec.GetSize(); ++i) shows.push_back(At(spec, i).GetShowCommand());
    EXPECT_EQ(shows, (std::vector<int>{6, 11, 5, 5, 5}));
}

TEST_F(MenuSpecRead, ArgumentsKeepSemicolonsAndFirstValueWins) {
    ASSERT_TRUE(Read("[01]\nKIND=2\nTEXT=First\nTEXT=Second\nEXEPATH=\\a.exe\nENVPATH= /a;b \nCURRENTPATH=\\Temp\n"));
    ASSERT_EQ(spec.GetSize(), 1);
    EXPECT_EQ(At(spec, 0).GetDispName(), u"First");
    EXPECT_EQ(At(spec, 0).GetArg(), u"/a;b");
    EXPECT_EQ(At(spec, 0).GetWorkingDirectory(), u"\\Temp");
    EXPECT_EQ(At(spec, 0).GetDescription(), u"");
}

TEST_F(MenuSpecRead, LogonFollowsTheEntryAndTheReader) {
    const std::string body = Entry("01", "Own", "LOGON=1\n") + Entry("02", "Named", "LOGON=1\nUSRNAME=alice\n") +
                             Entry("03", "Plain") + "[04]\nKIND=1\nTEXT=Label\n";
    struct Case {
        LPCWSTR logon;
        BOOL specUses;
        std::vector<BOOL> uses;
        std::vector<std::u16string> names;
    } cases[] = {
        {u"guest", TRUE, {TRUE, TRUE, TRUE}, {u"guest", u"alice", u"guest"}},
        {nullptr, FALSE, {TRUE, TRUE, FALSE}, {u"", u"alice", u""}},
        {u"", TRUE, {TRUE, TRUE, TRUE}, {u"", u"alice", u""}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Read(body, c.logon));
        EXPECT_EQ(spec.IsUseLogon(), c.specUses);
        EXPECT_EQ(spec.GetLogonName(), c.logon == nullptr ? u"" : c.logon);
        ASSERT_EQ(spec.GetSize(), 4);
        for (INT_PTR i = 0; i < 3; ++i) {
            EXPECT_EQ(At(spec, i).IsUseLogon(), c.uses[static_cast<size_t>(i)]) << i;
            EXPECT_EQ(At(spec, i).GetLogonName().str(), c.names[static_cast<size_t>(i)]) << i;
        }
    }
}

TEST_F(MenuSpecRead, AddressRedirectsLaterLinesAndFirstStoredTextWins) {
    ASSERT_TRUE(Read("TEXT=Before any header\nKIND=2\n[05]\nKIND=2\nEXEPATH=\\five.exe\nADDRESS= 07 \nTEXT=Seven\n"
                     "KIND=2\nEXEPATH=\\seven.exe\n[07]\nTEXT=Late\n[05]\nTEXT=Five\n"));
    EXPECT_EQ(Names(spec), (std::vector<std::u16string>{u"Five", u"Seven"}));
    EXPECT_EQ(At(spec, 1).GetFullPath(), u"\\seven.exe");
}

TEST_F(MenuSpecRead, CodePage932TextAndCrLf) {
    // ソ and 表 end in the byte of "\"; ー in that of "[", ゾ in that of "]".
    ASSERT_TRUE(Read("[01]\nKIND=2\nTEXT=\x83\x5C\x95\x5C\x81\x5B\x83\x5D\nEXEPATH=\\\x95\x5C.mnu\n"));
    ASSERT_EQ(spec.GetSize(), 1);
    EXPECT_EQ(At(spec, 0).GetDispName(), u"ソ表ーゾ");
    EXPECT_EQ(At(spec, 0).GetFullPath(), u"\\表.mnu");
    EXPECT_EQ(At(spec, 0).IsDirectory(), 1);
}

TEST_F(MenuSpecRead, FailedReadEmptiesTheListButKeepsTheNewPath) {
    ASSERT_TRUE(Read(Entry("01", "One") + Entry("02", "Two")));
    ASSERT_EQ(spec.GetSize(), 2);
    std::u16string missing = dir.Path("missing.mnu");
    EXPECT_FALSE(spec.Read(missing.c_str(), nullptr, u"bob"));
    EXPECT_EQ(spec.GetSize(), 0);
    EXPECT_EQ(spec.GetFullPath().str(), missing);
    EXPECT_EQ(spec.GetDispName(), u"Title");  // a null title keeps the last one
    EXPECT_EQ(spec.GetLogonName(), u"bob");
    EXPECT_TRUE(spec.IsUseLogon());

    std::u16string utf16 = dir.Write("utf16.mnu", std::string("\xFF\xFE[\0000\0001\0]\0", 10));
    EXPECT_FALSE(spec.Read(utf16.c_str(), u"U", nullptr));
    EXPECT_EQ(spec.GetSize(), 0);
}

TEST_F(MenuSpecRead, ReadingAgainForgetsTheNamesOfTheLastFile) {
    ASSERT_TRUE(Read(Entry("01", "Scan")));
    ASSERT_TRUE(Read(Entry("01", "Scan")));
    EXPECT_EQ(Names(spec), (std::vector<std::u16string>{u"Scan"}));
}

TEST_F(MenuSpecRead, SampleMenuFile) {
    dir.CopyData("sample.mnu");
    ASSERT_TRUE(spec.Read(dir.Path("SAMPLE.MNU").c_str(), u"Top", nullptr));
    EXPECT_EQ(Names(spec), (std::vector<std::u16string>{u"業務メニュー", u"入荷検品", u"出荷", u"Scan", u"Scan(2)"}));
    EXPECT_EQ(At(spec, 2).IsDirectory(), 1);
    EXPECT_EQ(At(spec, 3).GetArg(), u"/job:scan;quick /exit:0");
}

}  // namespace
