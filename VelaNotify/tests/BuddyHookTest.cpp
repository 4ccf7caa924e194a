// The buddy hook: an input-method change in the focused edit reaches every key-mode and
// input-method window of the dialog before the edit itself hears of it; the edit's own
// procedure sees every message unchanged; the hook leaves without a trace when the edit is
// destroyed; it is never installed twice.
#include <afxdialog.h>
#include <imm.h>

#include <vector>

#include "NotifyTestSupport.h"
#include "VelaNotifyMessages.h"
#include "data/NotifyTestIds.h"

namespace notifytest {
namespace {

using KeyProbe = Probe<CVLNfKeyIconWnd>;
using ImeProbe = Probe<CVLNfIMEIconWnd>;

// What the edit's procedure from before the hook saw.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT keyIconAtThatMoment;
    LONG_PTR procedureAtThatMoment;
    LONG_PTR userDataAtThatMoment;
};

std::vector<Seen> g_seen;
WNDPROC g_editProc = nullptr;
const KeyProbe* g_watchedIcon = nullptr;
constexpr UINT kProbeMessage = WM_USER + 55;
constexpr LRESULT kProbeResult = 0x5A5A;

LRESULT CALLBACK RecordingEditProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seen.push_back({message, wParam, lParam, g_watchedIcon != nullptr ? g_watchedIcon->Icon() : 0,
                      ::GetWindowLong(hWnd, GWL_WNDPROC), ::GetWindowLong(hWnd, GWL_USERDATA)});
    if (message == kProbeMessage) return kProbeResult;
    return ::CallWindowProc(g_editProc, hWnd, message, wParam, lParam);
}

int CountSeen(UINT message) {
    int n = 0;
    for (const Seen& s : g_seen) n += s.message == message;
    return n;
}

class BuddyHook : public NotifyTest {
protected:
    void SetUp() override {
        NotifyTest::SetUp();
        g_seen.clear();
        g_watchedIcon = nullptr;
        ASSERT_TRUE(m_dialog.Create(IDD_STATUS, &m_host));
        ASSERT_TRUE(m_child.Create(IDD_CHILD, &m_dialog));
        m_child.SetWindowPos(nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_edit = m_dialog.GetDlgItem(IDC_EDIT);
        ASSERT_NE(m_edit, nullptr);
        // The edit's own procedure, recorded, as an application's subclass would be.
        g_editProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLong(m_edit->m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingEditProc)));
        ASSERT_TRUE(m_key.SubclassDlgItem(IDC_KEY, &m_dialog));
        ASSERT_TRUE(m_ime.SubclassDlgItem(IDC_IME, &m_dialog));
        ASSERT_TRUE(m_groupedKey.SubclassDlgItem(IDC_GROUPED_KEY, &m_dialog));
        ASSERT_TRUE(m_childKey.SubclassDlgItem(IDC_CHILD_KEY, &m_child));
        m_dialog.SetForegroundWindow();
        m_edit->SetFocus();
        Pump();
    }
    void TearDown() override {
        g_watchedIcon = nullptr;
        if (m_dialog.GetSafeHwnd() != nullptr) m_dialog.DestroyWindow();
        NotifyTest::TearDown();
    }
    // What the terminal does when its input method changes: the focused window hears of it.
    static void ChangeInput(DWORD keyMode, DWORD conversion) {
        UpdateTerminal([&](vela::terminal::State& s) {
            s.input.keyInputMode = static_cast<std::int32_t>(keyMode);
            s.input.imeOpen = true;
            s.input.conversion = conversion;
        });
    }
    CDialog m_dialog;
    CDialog m_child;
    CWnd* m_edit = nullptr;
    KeyProbe m_key, m_groupedKey, m_childKey;
    ImeProbe m_ime;
};

TEST_F(BuddyHook, InputMethodChangeUpdatesEveryIconOfTheDialogFirst) {
    CVLNfNotifyWnd::SetBuddy(m_edit);
    g_watchedIcon = &m_childKey;
    ChangeInput(10, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_KATAKANA);
    Pump();

    EXPECT_EQ(m_key.Icon(), 3020u);
    EXPECT_EQ(m_groupedKey.Icon(), 3020u);
    EXPECT_EQ(m_childKey.Icon(), 3020u);  // one level further down
    EXPECT_EQ(m_ime.Icon(), 3014u);
    ASSERT_GE(CountSeen(WM_IME_NOTIFY), 1);
    for (const Seen& s : g_seen) {
        if (s.message == WM_IME_NOTIFY) {
            EXPECT_EQ(s.keyIconAtThatMoment, 3020u);
        }
    }
}

TEST_F(BuddyHook, WithoutTheHookTheIconsStayAsTheyWere) {
    ChangeInput(10, IME_CMODE_NATIVE);
    Pump();
    EXPECT_GE(CountSeen(WM_IME_NOTIFY), 1);
    EXPECT_EQ(m_key.Icon(), 3015u);
    EXPECT_EQ(m_childKey.Icon(), 3015u);
}

TEST_F(BuddyHook, AnotherEditDoesNotNotify) {
    CVLNfNotifyWnd::SetBuddy(m_edit);
    m_dialog.GetDlgItem(IDC_SECOND_EDIT)->SetFocus();
    ChangeInput(4, IME_CMODE_NATIVE);
    Pump();
    EXPECT_EQ(m_key.Icon(), 3015u);
}

TEST_F(BuddyHook, EveryMessageReachesTheOldProcedureUnchanged) {
    CVLNfNotifyWnd::SetBuddy(m_edit);
    const HWND hEdit = m_edit->m_hWnd;
    g_seen.clear();
    EXPECT_EQ(::SendMessage(hEdit, kProbeMessage, 0xDEAD, -7), kProbeResult);
    ::SendMessage(hEdit, WM_IME_NOTIFY, IMN_SETCONVERSIONMODE, 0x77);
    ::SendMessage(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"abc"));
    ASSERT_GE(g_seen.size(), 3u);
    EXPECT_EQ(g_seen[0].message, kProbeMessage);
    EXPECT_EQ(g_seen[0].wParam, 0xDEADu);
    EXPECT_EQ(g_seen[0].lParam, -7);
    ASSERT_EQ(CountSeen(WM_IME_NOTIFY), 1);
    for (const Seen& s : g_seen) {
        if (s.message != WM_IME_NOTIFY) continue;
        EXPECT_EQ(s.wParam, static_cast<WPARAM>(IMN_SETCONVERSIONMODE));
        EXPECT_EQ(s.lParam, 0x77);
    }
    CString text;
    m_edit->GetWindowText(text);
    EXPECT_EQ(text, CString(u"abc"));

    // The buddy is one of the parent's descendants: it hears the resynchronisation as well.
    g_seen.clear();
    ::SendMessage(hEdit, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
    EXPECT_EQ(CountSeen(VelaNotifySyncImeStatusMessage()), 1);
    EXPECT_EQ(g_seen.back().message, static_cast<UINT>(WM_IME_NOTIFY));
}

TEST_F(BuddyHook, DestroyRestoresTheProcedureAndTheUserDataBeforeTheOldProcedureRuns) {
    CVLNfNotifyWnd::SetBuddy(m_edit);
    const HWND hEdit = m_edit->m_hWnd;
    EXPECT_NE(::GetWindowLong(hEdit, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingEditProc));
    EXPECT_NE(::GetWindowLong(hEdit, GWL_USERDATA), 0);
    g_seen.clear();
    ::DestroyWindow(hEdit);
    ASSERT_EQ(CountSeen(WM_DESTROY), 1);
    for (const Seen& s : g_seen) {
        if (s.message != WM_DESTROY) continue;
        EXPECT_EQ(s.procedureAtThatMoment, reinterpret_cast<LONG_PTR>(&RecordingEditProc));
        EXPECT_EQ(s.userDataAtThatMoment, 0);
    }
}

TEST_F(BuddyHook, SecondSetBuddyIsRefused) {
    CVLNfNotifyWnd::SetBuddy(m_edit);
    const LONG_PTR procedure = ::GetWindowLong(m_edit->m_hWnd, GWL_WNDPROC);
    const LONG_PTR record = ::GetWindowLong(m_edit->m_hWnd, GWL_USERDATA);
    CVLNfNotifyWnd::SetBuddy(m_edit);
    EXPECT_EQ(::GetWindowLong(m_edit->m_hWnd, GWL_WNDPROC), procedure);
    EXPECT_EQ(::GetWindowLong(m_edit->m_hWnd, GWL_USERDATA), record);

    g_seen.clear();
    ::SendMessage(m_edit->m_hWnd, WM_IME_NOTIFY, IMN_SETCONVERSIONMODE, 0);
    EXPECT_EQ(CountSeen(WM_IME_NOTIFY), 1);
    EXPECT_EQ(CountSeen(VelaNotifySyncImeStatusMessage()), 1);
}

TEST_F(BuddyHook, NothingIsInstalledWithoutAWindowOrOverSomeoneElsesUserData) {
    CWnd none;
    CVLNfNotifyWnd::SetBuddy(&none);
    CVLNfNotifyWnd::SetBuddy(nullptr);

    const HWND hEdit = m_edit->m_hWnd;
    ::SetWindowLong(hEdit, GWL_USERDATA, 0x1234);
    CVLNfNotifyWnd::SetBuddy(m_edit);
    EXPECT_EQ(::GetWindowLong(hEdit, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingEditProc));
    EXPECT_EQ(::GetWindowLong(hEdit, GWL_USERDATA), 0x1234);
    ::SetWindowLong(hEdit, GWL_USERDATA, 0);
}

}  // namespace
}  // namespace notifytest
