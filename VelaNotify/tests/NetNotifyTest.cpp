// The network notifier without its thread: the poll path's rule, a failed launch, clean-up of
// an idle notifier, and copies of one.
#include <gtest/gtest.h>

#include <VLNfNetNotify.h>
#include <vela/Terminal.h>

#include "threads/IconTestSupport.h"

namespace {

class CountingNotifier : public CVLNfNetNotify {
public:
    int changes = 0;
    bool Connected() const { return m_bConnected != FALSE; }
    bool Running() const { return m_hThread != nullptr || m_hMsgQueue != nullptr || m_hStopEvent != nullptr; }
    void SetConnectOnly(BOOL only) { m_bConnectOnly = only; }

    using CVLNfNetNotify::CleanupNdisNotificationThread;
    using CVLNfNetNotify::LaunchNdisNotificationThread;

protected:
    void OnConnectionChanged() override { ++changes; }
};

void SetConnected(bool connected) {
    vela::terminal::Get().Update([connected](vela::terminal::State& s) {
        s.network.adapters.at(0).ipAddress = connected ? "192.168.10.20" : "0.0.0.0";
    });
}

}  // namespace

// The poll path is private; the notifier lets this fixture drive it as an armed timer would.
class CVLNfNetNotifyPollTest : public ::testing::Test {
protected:
    void SetUp() override { vela::terminal::Get().ResetForTests(); }
    void TearDown() override { vela::terminal::Get().ResetForTests(); }

    static void Poll(CVLNfNetNotify& notifier) { notifier.OnNetTimerCallback(); }
    static void TimerFires(CVLNfNetNotify& notifier) {
        CVLNfNetNotify::NetTimerProc(1, 0, reinterpret_cast<DWORD_PTR>(&notifier), 0, 0);
    }
};

namespace {

using NetNotifyPollTest = CVLNfNetNotifyPollTest;

TEST_F(NetNotifyPollTest, StartsWithTheStateOfTheNetworkObject) {
    CountingNotifier connected;
    EXPECT_TRUE(connected.Connected());
    SetConnected(false);
    CountingNotifier notConnected;
    EXPECT_FALSE(notConnected.Connected());
}

TEST_F(NetNotifyPollTest, ConnectOnlyReportsChangesOfTheConnectionAlone) {
    CountingNotifier n;
    Poll(n);
    Poll(n);
    EXPECT_EQ(n.changes, 0) << "unchanged";
    SetConnected(false);
    Poll(n);
    EXPECT_EQ(n.changes, 1);
    EXPECT_FALSE(n.Connected());
    Poll(n);
    EXPECT_EQ(n.changes, 1);
    SetConnected(true);
    Poll(n);
    EXPECT_EQ(n.changes, 2);
    EXPECT_TRUE(n.Connected());
}

TEST_F(NetNotifyPollTest, WithoutConnectOnlyEveryPollReports) {
    CountingNotifier n;
    n.SetConnectOnly(FALSE);
    Poll(n);
    Poll(n);
    SetConnected(false);
    Poll(n);
    EXPECT_EQ(n.changes, 3);
    EXPECT_FALSE(n.Connected());
}

class NetNotifyTest : public ::testing::Test {
protected:
    void SetUp() override { vela::terminal::Get().ResetForTests(); }
    void TearDown() override { vela::terminal::Get().ResetForTests(); }
};

TEST_F(NetNotifyTest, LaunchWithoutTheDriverFailsHoldingNothingAndMayBeRetried) {
    vela::terminal::Get().Update([](vela::terminal::State& s) { s.network.ndisDriverPresent = false; });
    CountingNotifier n;
    EXPECT_FALSE(n.LaunchNdisNotificationThread());
    EXPECT_FALSE(n.Running());
    EXPECT_FALSE(n.LaunchNdisNotificationThread());
    EXPECT_FALSE(n.Running());
}

TEST_F(NetNotifyTest, CleanupOfAnIdleNotifierIsHarmlessAnyNumberOfTimes) {
    CountingNotifier n;
    n.CleanupNdisNotificationThread();
    n.CleanupNdisNotificationThread();
    EXPECT_FALSE(n.Running());
    EXPECT_EQ(n.changes, 0);
}

TEST_F(NetNotifyTest, CopiesOfAnIdleNotifierCarryItsState) {
    SetConnected(false);
    CountingNotifier original;
    original.SetConnectOnly(FALSE);
    CountingNotifier copy(original);
    EXPECT_FALSE(copy.Connected());
    EXPECT_FALSE(copy.Running());
    SetConnected(true);
    CountingNotifier assigned;
    EXPECT_TRUE(assigned.Connected());
    assigned = original;
    EXPECT_FALSE(assigned.Connected());
}

}  // namespace

namespace {

// Runs only as the child of the test below, with the debug channel going to a file.
TEST_F(NetNotifyPollTest, TraceChild) {
    if (!icontest::IsTraceChild()) {
        GTEST_SKIP() << "runs as the child of TraceLinesOfThePollPathAndTheLaunch";
    }
    CountingNotifier n;
    TimerFires(n);
    SetConnected(false);
    n.SetConnectOnly(FALSE);
    Poll(n);
    vela::terminal::Get().Update([](vela::terminal::State& s) { s.network.ndisDriverPresent = false; });
    EXPECT_FALSE(n.LaunchNdisNotificationThread());
}

TEST_F(NetNotifyPollTest, TraceLinesOfThePollPathAndTheLaunch) {
    const std::string text = icontest::RunChildWithDebugChannel("NetNotifyPollTest.TraceChild");
    const std::vector<std::string> lines = icontest::LinesStartingWith(text, "CVLNfNetNotify::");
#ifdef _DEBUG
    const std::vector<std::string> expected = {
        "CVLNfNetNotify::NetTimerProc()\n",
        "CVLNfNetNotify::OnNetTimerCallback( bConnected=1, m_bConnected=1, m_bConnectOnly=1 )\n",
        "CVLNfNetNotify::ResetNetTimer( 0 )\n",
        "CVLNfNetNotify::OnNetTimerCallback( bConnected=0, m_bConnected=1, m_bConnectOnly=0 )\n",
        "CVLNfNetNotify::LaunchNdisNotificationThread()\n",
        "CVLNfNetNotify::ResetNetTimer( 0 )\n",
    };
    EXPECT_EQ(lines, expected) << text;
#else
    EXPECT_TRUE(lines.empty()) << text;
#endif
}

}  // namespace
