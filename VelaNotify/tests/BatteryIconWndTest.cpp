// The battery icon on its own thread's side: every row of the icon table, the status read at
// creation and subclassing, repaints and the tap. The notification thread's part is in
// threads/.
#include "threads/IconTestSupport.h"

#include <cstring>

namespace {

using icontest::BatteryIcon;
using icontest::IconTest;

SYSTEM_POWER_STATUS_EX Status(BYTE acLine, BYTE flag, BYTE percent) {
    SYSTEM_POWER_STATUS_EX s;
    std::memset(&s, 0, sizeof s);
    s.ACLineStatus = acLine;
    s.BatteryFlag = flag;
    s.BatteryLifePercent = percent;
    return s;
}

class BatteryIconWndTest : public IconTest {
protected:
    void Create(BatteryIcon& icon, int x = 10, int y = 10) {
        ASSERT_TRUE(icon.Create(u"", WS_CHILD | WS_VISIBLE, CRect(x, y, x + 16, y + 16), &m_parent, 200));
        Pump();
    }
};

TEST_F(BatteryIconWndTest, EveryRowOfTheIconTableInItsOrder) {
    struct Row {
        BYTE acLine, flag, percent;
        UINT icon;
    };
    const Row rows[] = {
        {1, 0x04, 0, 3000},    // external power whatever the charge
        {1, 0x01, 100, 3000},
        {0, 0x01, 10, 3001},   // flag high even at 10 %
        {0, 0x09, 10, 3001},   // charging bit plays no part
        {0, 0x02, 90, 3002},   // low
        {0, 0x04, 90, 3003},   // critical
        {0, 0xFF, 90, 3003},   // unknown: low bits 7
        {0, 0x80, 90, 3001},   // no-battery bit alone: the percentage decides
        {0, 0x00, 0, 3004},
        {0, 0x00, 24, 3004},
        {0, 0x00, 25, 3003},
        {0, 0x00, 49, 3003},
        {0, 0x00, 50, 3002},
        {0, 0x00, 74, 3002},
        {0, 0x00, 75, 3001},
        {0, 0x00, 255, 3001},  // unknown percentage
        {2, 0x00, 30, 3003},   // backup power is not external power
        {0xFF, 0x02, 30, 3002},
    };
    BatteryIcon icon;
    EXPECT_EQ(icon.Icon(), 3004u);  // before creation
    for (const Row& row : rows) {
        SYSTEM_POWER_STATUS_EX s = Status(row.acLine, row.flag, row.percent);
        icon.SetBatteryIcon(&s);
        EXPECT_EQ(icon.Icon(), row.icon) << int(row.acLine) << " " << int(row.flag) << " " << int(row.percent);
    }
}

TEST_F(BatteryIconWndTest, CreationAndSubclassingShowTheTerminalsBatteryNow) {
    icontest::SetBattery(false, 0x02, 40);
    BatteryIcon created;
    Create(created);
    EXPECT_EQ(created.Icon(), 3002u);
    const vela::screen::Image lowBattery = Picture(created.GetSafeHwnd());

    icontest::SetBattery(true, 0x01, 100);
    BatteryIcon subclassed;
    HWND control = MakeStatic(CRect(40, 10, 80, 30), 201);
    ASSERT_TRUE(subclassed.SubclassWindow(control));
    EXPECT_EQ(subclassed.Icon(), 3000u);
    CRect rect;
    subclassed.GetWindowRect(&rect);
    EXPECT_EQ(rect.Size(), CSize(16, 16));
    Pump();
    // The same picture as a window created in that state.
    BatteryIcon other;
    Create(other, 100, 10);
    EXPECT_EQ(Picture(subclassed.GetSafeHwnd()).pixels, Picture(other.GetSafeHwnd()).pixels);
    EXPECT_NE(lowBattery.pixels, Picture(other.GetSafeHwnd()).pixels);
}

TEST_F(BatteryIconWndTest, CreationPaintsOnceAndAnUnchangedIconNotAgain) {
    icontest::SetBattery(false, 0x00, 10);  // 3004, the starting icon: creation still paints
    BatteryIcon icon;
    vela::MessageSpy spy;
    spy.WatchThread();
    Create(icon);
    int paints = 0;
    for (const vela::SpiedMessage& m : spy.Take()) {
        paints += m.hwnd == icon.GetSafeHwnd() && m.message == WM_PAINT ? 1 : 0;
    }
    EXPECT_EQ(paints, 1);

    spy.Watch(icon.GetSafeHwnd());
    SYSTEM_POWER_STATUS_EX same = Status(0, 0x00, 20);
    icon.SetBatteryIcon(&same);
    Pump();
    EXPECT_EQ(Paints(spy), 0);
    SYSTEM_POWER_STATUS_EX external = Status(1, 0x00, 20);
    icon.SetBatteryIcon(&external);
    Pump();
    EXPECT_EQ(Paints(spy), 1);
}

TEST_F(BatteryIconWndTest, TapOpensThePowerPage) {
    BatteryIcon icon;
    Create(icon, 20, 30);
    vela::input::Tap(24, 34);
    Pump();
    const auto records = vela::terminal::Get().GetRecords();
    ASSERT_EQ(records.shellExecutes.size(), 1u);
    EXPECT_EQ(records.shellExecutes[0].file, u"CTLPNL.EXE");
    EXPECT_EQ(records.shellExecutes[0].parameters, u"\\Windows\\cplmain.cpl,5");
}

TEST_F(BatteryIconWndTest, DestroyStopsTheThreadAndAFreshCreateStartsAnother) {
    BatteryIcon icon;
    Create(icon);
    ASSERT_NE(icon.Thread(), nullptr);
    icon.DestroyWindow();
    EXPECT_EQ(icon.Thread(), nullptr);
    EXPECT_EQ(icon.Queue(), nullptr);
    Create(icon);
    EXPECT_NE(icon.Thread(), nullptr);
    icon.DestroyWindow();
}

}  // namespace
