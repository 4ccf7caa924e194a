// The input-method and key-mode windows: the icon for every state, when they read the state,
// and that the resynchronisation message repaints only on a change.
#include <afxdialog.h>

#include "NotifyTestSupport.h"
#include "VelaNotifyMessages.h"
#include "data/NotifyTestIds.h"

namespace notifytest {
namespace {

using ImeProbe = Probe<CVLNfIMEIconWnd>;
using KeyProbe = Probe<CVLNfKeyIconWnd>;
using ImeIcons = NotifyTest;

void SetConversionStatus(DWORD status) { CVLSysImeManage().SetConversionStatus(status); }
void SetKeyInputMode(DWORD mode) { CVLSysImeManage().SetKeyInputMode(mode); }

LRESULT Sync(CWnd& wnd, WPARAM wParam = 1, LPARAM lParam = 0) {
    return wnd.SendMessage(VelaNotifySyncImeStatusMessage(), wParam, lParam);
}

TEST_F(ImeIcons, ConversionStatusChoosesTheIcon) {
    const struct {
        DWORD status;
        UINT icon;
    } rows[] = {{0, 3010}, {1, 3013}, {2, 3014}, {3, 3012}, {4, 3011}, {5, 3010}};
    ImeProbe ime;
    EXPECT_EQ(ime.Icon(), 3010u);
    ASSERT_TRUE(CreateChild(ime, m_host, 0, 0, 16, 16));
    for (const auto& row : rows) {
        SetConversionStatus(row.status);
        EXPECT_EQ(Sync(ime), 0);
        EXPECT_EQ(ime.Icon(), row.icon) << "status " << row.status;
    }
}

TEST_F(ImeIcons, KeyInputModeChoosesTheIcon) {
    const struct {
        DWORD mode;
        UINT icon;
    } rows[] = {{0, 3015},  {1, 3015},  {2, 3016},  {3, 3017},  {4, 3018},  {5, 3019},
                {6, 3016},  {7, 3017},  {8, 3018},  {9, 3019},  {10, 3020}, {11, 3015},
                {0xFFFFFFFAu, 3015}};  // a terminal without a key input mode
    KeyProbe key;
    EXPECT_EQ(key.Icon(), 3010u);  // until the first update
    ASSERT_TRUE(CreateChild(key, m_host, 0, 0, 16, 16));
    for (const auto& row : rows) {
        SetKeyInputMode(row.mode);
        SetConversionStatus(1);  // never looked at by the key-mode window
        EXPECT_EQ(Sync(key, 0x1234, -1), 0);
        EXPECT_EQ(key.Icon(), row.icon) << "mode " << row.mode;
    }
}

TEST_F(ImeIcons, StateIsReadAtCreationAndThenOnlyOnTheMessage) {
    SetConversionStatus(2);
    SetKeyInputMode(10);
    ImeProbe ime;
    KeyProbe key;
    ASSERT_TRUE(CreateChild(ime, m_host, 0, 0, 16, 16));
    ASSERT_TRUE(CreateChild(key, m_host, 20, 0, 16, 16));
    EXPECT_EQ(ime.Icon(), 3014u);
    EXPECT_EQ(key.Icon(), 3020u);

    SetConversionStatus(3);  // no window of the terminal has the focus: nobody is told
    SetKeyInputMode(4);
    Pump();
    EXPECT_EQ(ime.Icon(), 3014u);
    EXPECT_EQ(key.Icon(), 3020u);

    Sync(ime);
    EXPECT_EQ(ime.Icon(), 3012u);
    EXPECT_EQ(key.Icon(), 3020u);
}

TEST_F(ImeIcons, UnchangedStateRepaintsNothing) {
    SetConversionStatus(1);
    ImeProbe ime;
    ASSERT_TRUE(CreateChild(ime, m_host, 0, 0, 16, 16));
    Pump();
    const int paints = ime.m_nPaints;
    EXPECT_GE(paints, 1);
    Sync(ime);
    Pump();
    EXPECT_EQ(ime.m_nPaints, paints);

    SetConversionStatus(4);
    Sync(ime);
    Pump();
    EXPECT_EQ(ime.m_nPaints, paints + 1);
}

TEST_F(ImeIcons, ChangedIconIsOnScreenAfterThePaint) {
    SetKeyInputMode(0);
    KeyProbe key;
    ASSERT_TRUE(CreateChild(key, m_host, 0, 0, 16, 16));
    Pump();
    const auto digit = vela::screen::Capture(CRect(0, 0, 16, 16));
    SetKeyInputMode(10);
    Sync(key);
    Pump();
    EXPECT_NE(vela::screen::Capture(CRect(0, 0, 16, 16)).pixels, digit.pixels);
    SetKeyInputMode(11);
    Sync(key);
    Pump();
    EXPECT_EQ(vela::screen::Capture(CRect(0, 0, 16, 16)).pixels, digit.pixels);
}

TEST_F(ImeIcons, TapDoesNothing) {
    KeyProbe key;
    ASSERT_TRUE(CreateChild(key, m_host, 0, 0, 16, 16));
    Pump();
    const int paints = key.m_nPaints;
    vela::input::Tap(5, 5);
    Pump();
    EXPECT_EQ(key.m_nTaps, 1);
    EXPECT_EQ(key.m_nPaints, paints);
    EXPECT_TRUE(vela::terminal::Get().GetRecords().processStarts.empty());
    EXPECT_TRUE(vela::terminal::Get().GetRecords().shellExecutes.empty());
}

TEST_F(ImeIcons, SubclassedControlReadsTheStateToo) {
    SetConversionStatus(4);
    SetKeyInputMode(3);
    ImeProbe ime;
    KeyProbe key;
    CInitDialog dialog;
    dialog.m_onInit = [&](CDialog& d) {
        EXPECT_TRUE(ime.SubclassDlgItem(IDC_IME, &d));
        EXPECT_TRUE(key.SubclassDlgItem(IDC_KEY, &d));
    };
    ASSERT_TRUE(dialog.Create(IDD_STATUS, &m_host));
    EXPECT_EQ(ime.Icon(), 3011u);
    EXPECT_EQ(key.Icon(), 3017u);
    EXPECT_EQ(WindowRectOf(key).Size(), CSize(16, 16));
    dialog.DestroyWindow();
}

}  // namespace
}  // namespace notifytest
