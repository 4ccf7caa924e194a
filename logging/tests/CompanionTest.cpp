// Companion mode with collector doubles: who decides the mode, what the collector is handed,
// and what the caller is told. The log file is never touched while the collector takes records.
#include <filesystem>

#include "TarnClogFixture.h"

namespace tarntest {
namespace {

class CompanionTest : public TarnClogTest {
protected:
    bool LogExists() const { return std::filesystem::exists(dir_.HostPath("op.log")); }
};

TEST_F(CompanionTest, ModeFollowsTheCollectorsAnswer) {
    struct Case {
        const char* what;
        unsigned exports;
        DWORD mode;
        bool companion;
    } cases[] = {
        {"answers 0", kAllExports, 0, true},
        {"answers 2", kAllExports, 2, true},
        {"answers 0xFFFFFFFF", kAllExports, 0xFFFFFFFFu, true},
        {"answers 1", kAllExports, 1, false},
        {"no OrelClog_IsMLSMode", kSetLogInfo | kPutAppLog, 0, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir_.HostPath("op.log"));
        g_collector = FakeCollector{};
        g_collector.mode = c.mode;
        InstallCollector(c.exports);
        SetBase(nullptr, nullptr, nullptr, 1);
        EXPECT_EQ(0, TarnClog_Start(u"c", u"i")) << c.what;
        EXPECT_EQ(c.companion ? 1 : 0, g_collector.putCalls) << c.what;
        EXPECT_EQ(!c.companion, LogExists()) << c.what;
    }
    // An absent collector: the log file.
    vela::HideModule(u"OrelClog.dll");
    std::filesystem::remove(dir_.HostPath("op.log"));
    SetBase();
    EXPECT_EQ(0, TarnClog_Start(u"c", u"i"));
    EXPECT_TRUE(LogExists());
}

TEST_F(CompanionTest, CollectorGetsBaseInformationAndTheCallersPointers) {
    InstallCollector();
    SetBase(u"A", u"D", u"U", 77);
    const char16_t* info = u"i";
    EXPECT_EQ(0, TarnClog_Abort(nullptr, info, nullptr));
    EXPECT_EQ(1, g_collector.setCalls);
    EXPECT_EQ(u"A", g_collector.address);
    EXPECT_EQ(u"D", g_collector.device);
    EXPECT_EQ(u"U", g_collector.user);
    EXPECT_EQ(77u, g_collector.logId);
    EXPECT_EQ(4u, g_collector.kind);
    EXPECT_EQ(nullptr, g_collector.cmd);
    EXPECT_EQ(info, g_collector.info);
    EXPECT_EQ(nullptr, g_collector.msg);

    // No argument checks on this path: a Start without strings is handed on, with an empty pMsg.
    EXPECT_EQ(0, TarnClog_Start(nullptr, nullptr));
    EXPECT_EQ(1u, g_collector.kind);
    EXPECT_EQ(nullptr, g_collector.info);
    ASSERT_NE(nullptr, g_collector.msg);
    EXPECT_EQ(u'\0', g_collector.msg[0]);
    EXPECT_FALSE(LogExists());
}

TEST_F(CompanionTest, FailuresOfTheCollectorGiveMinusOneWithoutErrorNumber) {
    struct Case {
        const char* what;
        unsigned exports;
        BOOL setResult, putResult;
        int putCalls;
    } cases[] = {
        {"SetLogInfo refuses", kAllExports, FALSE, TRUE, 1},
        {"PutAppLog refuses", kAllExports, TRUE, FALSE, 1},
        {"no SetLogInfo", kIsMLSMode | kPutAppLog, TRUE, TRUE, 1},
        {"no PutAppLog", kIsMLSMode | kSetLogInfo, TRUE, TRUE, 0},
    };
    SetBase();
    ASSERT_EQ(-1, TarnClog_Start(nullptr, u"i"));  // a known error number to keep
    for (const Case& c : cases) {
        g_collector = FakeCollector{};
        g_collector.setResult = c.setResult;
        g_collector.putResult = c.putResult;
        InstallCollector(c.exports);
        SetBase();
        EXPECT_EQ(-1, TarnClog_Message(u"c", u"i", u"m")) << c.what;
        EXPECT_EQ(c.putCalls, g_collector.putCalls) << c.what;
        EXPECT_EQ(TARNCLOG_ERR_NULL_ARGUMENT, TarnClog_GetErrno()) << c.what;
    }
    EXPECT_FALSE(LogExists());
}

// The collector vanishing after the mode was decided: records go to the log file.
TEST_F(CompanionTest, CollectorGoneAfterwardsFallsBackToTheLogFile) {
    InstallCollector();
    SetBase(nullptr, nullptr, nullptr, 1);
    vela::HideModule(u"OrelClog.dll");
    EXPECT_EQ(0, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(1u, LogLines().size());
    EXPECT_EQ(-1, TarnClog_Start(nullptr, u"i"));
    EXPECT_EQ(TARNCLOG_ERR_NULL_ARGUMENT, TarnClog_GetErrno());
}

// With a collector, a missing host name keeps the address it had; without, "RQ-44".
TEST_F(CompanionTest, MissingHostNameKeepsThePreviousAddress) {
    InstallCollector();
    SetBase(u"10.0.0.9", nullptr, nullptr, 1);
    g_winsock.gethostnameFails = true;
    SetBase();
    EXPECT_EQ(0, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(u"10.0.0.9", g_collector.address);
    EXPECT_EQ(u"10.0.0.9", g_collector.device);
}

}  // namespace
}  // namespace tarntest
