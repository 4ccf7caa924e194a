// The network icon on the simulated terminal: the icon per state, the poll periods on the
// manual clock, repaints, the tap and clean-up.
#include "threads/IconTestSupport.h"

#include <utility>

namespace {

using icontest::IconTest;
using icontest::NetIcon;

class NetIconWndTest : public IconTest {
protected:
    void Create(NetIcon& icon, int x = 10, int y = 10) {
        ASSERT_TRUE(icon.Create(u"", WS_CHILD | WS_VISIBLE, CRect(x, y, x + 16, y + 16), &m_parent, 100));
        Pump();
    }
};

TEST_F(NetIconWndTest, IconFollowsConnectionAndStrengthAtEachStep) {
    // Each dBm is worth 2 percent (-90 dBm is 0 %), so the steps are met at the even values
    // beside them.
    const std::pair<std::int32_t, UINT> rows[] = {
        {-95, 3006}, {-78, 3006},  // 0 %, 24 %
        {-77, 3007}, {-66, 3007},  // 26 %, 48 %
        {-65, 3008}, {-53, 3008},  // 50 %, 74 %
        {-52, 3009}, {-30, 3009},  // 76 %, 100 %
    };
    NetIcon icon;
    EXPECT_EQ(icon.Icon(), 3005u);  // before creation
    Create(icon);
    for (const auto& [dbm, expected] : rows) {
        icontest::SetSignal(dbm);
        Advance(2000);
        EXPECT_EQ(icon.Icon(), expected) << dbm << " dBm";
    }
    // Not connected shows the cross whatever the strength.
    icontest::SetConnected(false);
    Advance(2000);
    EXPECT_EQ(icon.Icon(), 3005u);
    // Without the NDIS driver the terminal is not connected either.
    icontest::SetConnected(true);
    icontest::UpdateTerminal([](vela::terminal::State& s) { s.network.ndisDriverPresent = false; });
    Advance(5000);
    EXPECT_EQ(icon.Icon(), 3005u);
}

TEST_F(NetIconWndTest, CreatedIconPollsAfterOneSecondThenTwoOrFive) {
    NetIcon icon;
    const std::uint64_t t0 = vela::clock::Tick();
    Create(icon);
    // The class library hooks every window it creates, so PreSubclassWindow runs before
    // WM_CREATE too: the state is read twice at creation, and OnCreate's 1 s timer wins.
    ASSERT_EQ(icon.polls.size(), 2u);
    Advance(999);
    EXPECT_EQ(icon.polls.size(), 2u);
    Advance(1);
    ASSERT_EQ(icon.polls.size(), 3u);
    EXPECT_EQ(icon.polls[2] - t0, 1000u);
    // Connected: every 2 s.
    Advance(1999);
    EXPECT_EQ(icon.polls.size(), 3u);
    icontest::SetConnected(false);
    Advance(1);
    ASSERT_EQ(icon.polls.size(), 4u);
    EXPECT_EQ(icon.Icon(), 3005u);
    // Not connected: every 5 s.
    Advance(4999);
    EXPECT_EQ(icon.polls.size(), 4u);
    icontest::SetConnected(true);
    Advance(1);
    ASSERT_EQ(icon.polls.size(), 5u);
    EXPECT_NE(icon.Icon(), 3005u);
    Advance(2000);
    EXPECT_EQ(icon.polls.size(), 6u);
}

TEST_F(NetIconWndTest, SubclassedIconPollsFirstAfterThePeriodItChose) {
    for (bool connected : {true, false}) {
        SCOPED_TRACE(connected ? "connected" : "not connected");
        icontest::SetConnected(connected);
        NetIcon icon;
        HWND control = MakeStatic(CRect(40, 10, 80, 30), 101);
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(icon.SubclassWindow(control));
        ASSERT_EQ(icon.polls.size(), 1u);
        CRect rect;
        icon.GetWindowRect(&rect);
        EXPECT_EQ(rect.Size(), CSize(16, 16));
        EXPECT_EQ(icon.Icon(), connected ? 3008u : 3005u);  // -60 dBm is 60 %
        const int period = connected ? 2000 : 5000;
        Advance(period - 1);
        EXPECT_EQ(icon.polls.size(), 1u);
        Advance(1);
        EXPECT_EQ(icon.polls.size(), 2u);
        icon.DestroyWindow();
    }
}

TEST_F(NetIconWndTest, RepaintsOnlyWhenTheIconChanges) {
    NetIcon icon;
    Create(icon);
    vela::MessageSpy spy;
    spy.Watch(icon.GetSafeHwnd());
    Advance(1000);
    Advance(2000);
    EXPECT_EQ(icontest::IconTest::Paints(spy), 0) << "same state, same icon";
    icontest::SetSignal(-40);
    Advance(2000);
    EXPECT_EQ(icontest::IconTest::Paints(spy), 1);
    icontest::SetSignal(-41);  // 98 %: still three bars
    Advance(2000);
    EXPECT_EQ(icontest::IconTest::Paints(spy), 0);
}

TEST_F(NetIconWndTest, DroppingTheSignalRedrawsTheAntenna) {
    NetIcon icon;
    Create(icon);
    const vela::screen::Image fair = Picture(icon.GetSafeHwnd());
    icontest::SetSignal(-90);
    Advance(1000);
    ASSERT_EQ(icon.Icon(), 3006u);
    const vela::screen::Image none = Picture(icon.GetSafeHwnd());
    EXPECT_NE(fair.pixels, none.pixels);

    // A second icon made in the same state looks the same.
    NetIcon fresh;
    Create(fresh, 40, 10);
    EXPECT_EQ(Picture(fresh.GetSafeHwnd()).pixels, none.pixels);

    icontest::SetConnected(false);
    Advance(2000);
    EXPECT_NE(Picture(icon.GetSafeHwnd()).pixels, none.pixels);
    EXPECT_EQ(icon.Icon(), 3005u);
}

TEST_F(NetIconWndTest, TapStartsTheWlanSettings) {
    NetIcon icon;
    Create(icon, 20, 30);
    vela::input::Tap(24, 34);
    Pump();
    const auto records = vela::terminal::Get().GetRecords();
    ASSERT_EQ(records.shellExecutes.size(), 1u);
    EXPECT_EQ(records.shellExecutes[0].file, u"\\Windows\\Lirent.exe");
    EXPECT_EQ(records.shellExecutes[0].window, reinterpret_cast<std::uintptr_t>(icon.GetSafeHwnd()));
}

TEST_F(NetIconWndTest, OtherTimersGoToDefaultHandlingAndDestroyStopsPolling) {
    NetIcon icon;
    Create(icon);
    const size_t atCreation = icon.polls.size();
    icon.SetTimer(7, 100, nullptr);
    Advance(100);
    EXPECT_EQ(icon.polls.size(), atCreation) << "a foreign timer is not a poll";
    icon.KillTimer(7);
    icon.DestroyWindow();
    Advance(10000);
    EXPECT_EQ(icon.polls.size(), atCreation);
}

}  // namespace

namespace {

using icontest::IsTraceChild;
using icontest::LinesStartingWith;

// Runs only as the child of the test below, with the debug channel going to a file.
TEST_F(NetIconWndTest, TraceChild) {
    if (!IsTraceChild()) {
        GTEST_SKIP() << "runs as the child of TraceLinesOfCreationSubclassingAndPolls";
    }
    NetIcon created;
    Create(created);  // connected, -60 dBm: 60 %
    Advance(1000);
    icontest::SetConnected(false);
    Advance(2000);
    NetIcon subclassed;
    ASSERT_TRUE(subclassed.SubclassWindow(MakeStatic(CRect(40, 10, 80, 30), 102)));
}

TEST_F(NetIconWndTest, TraceLinesOfCreationSubclassingAndPolls) {
    const std::string text = icontest::RunChildWithDebugChannel("NetIconWndTest.TraceChild");
    const std::vector<std::string> lines = LinesStartingWith(text, "CVLNfNetIconWnd::");
#ifdef _DEBUG
    // A created window passes PreSubclassWindow first (the class library hooks its creation).
    const std::vector<std::string> expected = {
        "CVLNfNetIconWnd::SetNetworkIcon( PreSubclass )\n",
        "CVLNfNetIconWnd::SetNetworkIcon( 60 )\n",
        "CVLNfNetIconWnd::LaunchNdisNotificationThread( PreSubclass )\n",
        "CVLNfNetIconWnd::SetNetworkIcon( OnCreate )\n",
        "CVLNfNetIconWnd::SetNetworkIcon( 60 )\n",
        "CVLNfNetIconWnd::LaunchNdisNotificationThread( OnCreate )\n",
        "CVLNfNetIconWnd::OnConnectionChanged()\n",
        "CVLNfNetIconWnd::SetNetworkIcon( 60 )\n",
        "CVLNfNetIconWnd::OnConnectionChanged()\n",
        "CVLNfNetIconWnd::SetNetworkIcon( NC )\n",
        "CVLNfNetIconWnd::SetNetworkIcon( PreSubclass )\n",
        "CVLNfNetIconWnd::SetNetworkIcon( NC )\n",
        "CVLNfNetIconWnd::LaunchNdisNotificationThread( PreSubclass )\n",
    };
    EXPECT_EQ(lines, expected) << text;
#else
    EXPECT_TRUE(lines.empty()) << text;
#endif
}

}  // namespace
