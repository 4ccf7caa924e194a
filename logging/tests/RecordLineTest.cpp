// The record line, byte for byte: date and time, the process and ID fields, the base texts,
// the escaped caller strings and the constant tail, in code page 932.
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "TarnClogFixture.h"

namespace tarntest {
namespace {

// The executable's name and the ProductVersion of its resource script (TarnClogTests.rc).
constexpr char kProgramId[] = "TarnClog_tests " TARNCLOG_TESTS_VERSION;

// Runs body in a fresh copy of this test process, where no base information was ever set:
// the log ID, once set, stays for the life of a process.
void InFreshProcess(const std::function<void()>& body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

using RecordLineTest = TarnClogTest;

TEST_F(RecordLineTest, StartLineByteForByte) {
    SetBase(u"10.1.2.3", u"DEV\"1", u"佐藤", 7);
    ASSERT_EQ(0, TarnClog_Start(u"scan", u"入荷"));
    EXPECT_EQ("\"2010/8/4\",\"9:5:7\",\"" + Pid() +
                  "\",\"7\",\"1\",\"DEV\"1\",\"10.1.2.3\",\"\x8d\xb2\x93\xa1\",\"scan\",\"\x93\xfc\x89\xd7\",\"" +
                  kProgramId + "\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n",
              LogBytes());
}

TEST_F(RecordLineTest, KindsAndAppendOrder) {
    SetBase(nullptr, nullptr, u"u", 9);
    ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    ASSERT_EQ(0, TarnClog_Message(u"c", u"i", u"m"));
    ASSERT_EQ(0, TarnClog_End(u"c", u"i", u"ok"));
    ASSERT_EQ(0, TarnClog_Abort(u"c", u"i", u"ng"));
    auto lines = LogLines();
    ASSERT_EQ(4u, lines.size());
    const char* kinds[] = {"1", "8", "2", "4"};
    const char* msgs[] = {"", "m", "ok", "ng"};
    for (size_t i = 0; i < 4; ++i) {
        auto f = Fields(lines[i]);
        ASSERT_EQ(17u, f.size()) << lines[i];
        EXPECT_EQ(kinds[i], f[4]);
        EXPECT_EQ(msgs[i], f[11]);
        EXPECT_EQ("HT-01", f[5]);
        EXPECT_EQ("HT-01", f[6]);
    }
}

TEST_F(RecordLineTest, DateAndTimeWithoutLeadingZeros) {
    struct Case {
        SYSTEMTIME at;
        const char* date;
        const char* time;
    } cases[] = {
        {{2010, 8, 3, 4, 9, 5, 7, 0}, "2010/8/4", "9:5:7"},
        {{2010, 12, 5, 31, 23, 59, 59, 999}, "2010/12/31", "23:59:59"},
        {{2011, 1, 6, 1, 0, 0, 0, 0}, "2011/1/1", "0:0:0"},
        {{2024, 2, 4, 29, 10, 10, 10, 0}, "2024/2/29", "10:10:10"},
    };
    SetBase(nullptr, nullptr, nullptr, 1);
    for (const Case& c : cases) {
        vela::clock::UseManual(c.at);
        ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    }
    auto lines = LogLines();
    ASSERT_EQ(std::size(cases), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        auto f = Fields(lines[i]);
        ASSERT_EQ(17u, f.size());
        EXPECT_EQ(cases[i].date, f[0]);
        EXPECT_EQ(cases[i].time, f[1]);
    }
}

// Field 3 is the log ID only for "ptbox" commands (any case); field 4 whenever one is set.
TEST_F(RecordLineTest, ProcessAndIdFieldsWithLogId) {
    struct Case {
        LPCWSTR cmd;
        bool processIsLogId;
    } cases[] = {{u"ptbox", true}, {u"PTBOX", true}, {u"PtBoX", true}, {u"ptbox ", false},
                 {u"ptbo", false}, {u"xptbox", false}, {u"", false}, {nullptr, false}};
    SetBase(nullptr, nullptr, nullptr, 7);
    for (const Case& c : cases) ASSERT_EQ(0, TarnClog_End(c.cmd, u"i", u"m"));
    auto lines = LogLines();
    ASSERT_EQ(std::size(cases), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        auto f = Fields(lines[i]);
        ASSERT_EQ(17u, f.size());
        EXPECT_EQ(cases[i].processIsLogId ? "7" : Pid(), f[2]) << lines[i];
        EXPECT_EQ("7", f[3]) << lines[i];
    }
}

TEST_F(RecordLineTest, IdsFromTwoToTheThirtyFirstAreUnsigned) {
    SetBase(nullptr, nullptr, nullptr, 0x80000000u);
    ASSERT_EQ(0, TarnClog_Start(u"PTBOX", u"i"));
    SetBase(nullptr, nullptr, nullptr, 0xFFFFFFFFu);
    ASSERT_EQ(0, TarnClog_Start(u"ptbox", u"i"));
    auto lines = LogLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("2147483648", Fields(lines[0])[2]);
    EXPECT_EQ("2147483648", Fields(lines[0])[3]);
    EXPECT_EQ("4294967295", Fields(lines[1])[2]);
}

TEST_F(RecordLineTest, WithoutLogIdBothFieldsHoldTheProcessId) {
    InFreshProcess([&] {
        SetBase();
        EXPECT_EQ(0, TarnClog_Start(u"ptbox", u"i"));
        EXPECT_EQ(0, TarnClog_Start(u"other", u"i"));
        for (const auto& line : LogLines()) {
            auto f = Fields(line);
            EXPECT_EQ(Pid(), f.at(2)) << line;
            EXPECT_EQ(Pid(), f.at(3)) << line;
        }
        EXPECT_EQ(2u, LogLines().size());
    });
}

TEST_F(RecordLineTest, RecordsBeforeBaseInformationFailAndTouchNothing) {
    InFreshProcess([&] {
        EXPECT_EQ(0u, TarnClog_GetErrno());
        EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
        EXPECT_EQ(TARNCLOG_ERR_NOT_INITIALIZED, TarnClog_GetErrno());
        EXPECT_EQ(-1, TarnClog_Message(u"c", u"i", u"m"));
        EXPECT_EQ(-1, TarnClog_End(u"c", u"i", u"m"));
        EXPECT_EQ(-1, TarnClog_Abort(u"c", u"i", u"m"));
        EXPECT_FALSE(std::filesystem::exists(dir_.HostPath("op.log")));
    });
}

// Only the three caller strings are escaped; base texts go between their quotes unchanged.
TEST_F(RecordLineTest, CallerStringsEscapedBaseTextsNot) {
    SetBase(u"a\"b", nullptr, u"\"u\"", 3);
    ASSERT_EQ(0, TarnClog_Message(u"c\"", u"\"\"", u"say \"hi\"\r\nnext"));
    std::string bytes = LogBytes();
    EXPECT_NE(std::string::npos,
              bytes.find("\"a\"b\",\"a\"b\",\"\"u\"\",\"c\"\"\",\"\"\"\"\"\",\"" + std::string(kProgramId) +
                         "\",\"say \"\"hi\"\"\r\nnext\","))
        << bytes;
}

TEST_F(RecordLineTest, RequiredStringsPerKind) {
    struct Case {
        const char* what;
        LONG (*call)();
        LONG result;
    } cases[] = {
        {"Start cmd NULL", [] { return TarnClog_Start(nullptr, u"i"); }, -1},
        {"Start info NULL", [] { return TarnClog_Start(u"c", nullptr); }, -1},
        {"Start empty", [] { return TarnClog_Start(u"", u""); }, 0},
        {"End msg NULL", [] { return TarnClog_End(u"c", u"i", nullptr); }, -1},
        {"End only msg", [] { return TarnClog_End(nullptr, nullptr, u"m"); }, 0},
        {"Abort msg NULL", [] { return TarnClog_Abort(u"c", u"i", nullptr); }, -1},
        {"Abort only empty msg", [] { return TarnClog_Abort(nullptr, nullptr, u""); }, 0},
        {"Message cmd NULL", [] { return TarnClog_Message(nullptr, u"i", u"m"); }, -1},
        {"Message info NULL", [] { return TarnClog_Message(u"c", nullptr, u"m"); }, -1},
        {"Message msg NULL", [] { return TarnClog_Message(u"c", u"i", nullptr); }, -1},
    };
    SetBase(nullptr, nullptr, nullptr, 5);
    size_t written = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, c.call()) << c.what;
        if (c.result == 0) ++written;
        EXPECT_EQ(written, LogLines().size()) << c.what;
        if (c.result != 0) {
            EXPECT_EQ(TARNCLOG_ERR_NULL_ARGUMENT, TarnClog_GetErrno()) << c.what;
        }
    }
    // End with only pMsg: fields 9 and 10 are empty.
    auto f = Fields(LogLines().at(1));
    EXPECT_EQ("", f.at(8));
    EXPECT_EQ("", f.at(9));
    EXPECT_EQ("m", f.at(11));
}

TEST_F(RecordLineTest, ErrorNumberKeepsTheLastFailure) {
    SetBase(nullptr, nullptr, nullptr, 5);
    ASSERT_EQ(-1, TarnClog_Start(nullptr, nullptr));
    ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    ASSERT_EQ(0, TarnClog_End(u"c", u"i", u"m"));
    EXPECT_EQ(TARNCLOG_ERR_NULL_ARGUMENT, TarnClog_GetErrno());
    TarnClog_SetBaseInfo(dir_.Path("no such folder\\op.log").c_str(), nullptr, nullptr, nullptr, 0);
    ASSERT_EQ(-1, TarnClog_Start(u"c", u"i"));
    SetBase();
    ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_OPEN, TarnClog_GetErrno());
}

}  // namespace
}  // namespace tarntest
