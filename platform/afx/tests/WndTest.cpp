// Window objects on real windows: the object tied to its window before the first message,
// temporary against permanent objects, subclassing a dialog item, sending to descendants, and
// timers on the manual clock.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <vela/Clock.h>
#include <vela/Input.h>

#include <string>
#include <thread>
#include <vector>

#include "WndTestSupport.h"

using afxtest::CountReceived;
using afxtest::MakeRecorder;
using afxtest::RecorderLog;

namespace {

class CProbeWnd : public CWnd {
public:
    std::vector<std::string> m_log;
    int m_nCreateResult = 0;
    bool m_bPermanentInCreate = false;

    void PreSubclassWindow() override { m_log.push_back("presubclass"); }
    void PostNcDestroy() override { m_log.push_back("postncdestroy"); }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        m_log.push_back("create " + std::to_string(lpCreateStruct->cx));
        m_bPermanentInCreate = FromHandlePermanent(m_hWnd) == this;
        if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
        return m_nCreateResult;
    }
    afx_msg void OnDestroy() {
        m_log.push_back("destroy");
        CWnd::OnDestroy();
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log.push_back("timer " + std::to_string(nIDEvent)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CreatePopup(CWnd& wnd, int cx = 50) {
    return wnd.CreateEx(0, AfxRegisterWndClass(0), u"probe", WS_POPUP | WS_VISIBLE, 0, 0, cx, 40, nullptr, nullptr);
}

class CWndTest : public ::testing::Test {
protected:
    void SetUp() override { RecorderLog().clear(); }
    void TearDown() override {
        for (HWND hWnd : m_plainWindows) ::DestroyWindow(hWnd);
        CWnd::DeleteTempMap();
    }
    HWND Plain(HWND hWndParent, int nID, int cx = 40, int cy = 20) {
        HWND hWnd = MakeRecorder(hWndParent, nID, 0, 0, cx, cy);
        if (hWndParent == nullptr) m_plainWindows.push_back(hWnd);
        return hWnd;
    }
    std::vector<HWND> m_plainWindows;
};

}  // namespace

TEST_F(CWndTest, CreationTiesTheObjectBeforeItsFirstMessageAndDestructionUnties) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, 77));
    HWND hWnd = wnd.m_hWnd;
    ASSERT_TRUE(::IsWindow(hWnd));
    EXPECT_TRUE(wnd.m_bPermanentInCreate);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(wnd.GetStyle() & WS_POPUP, static_cast<DWORD>(WS_POPUP));

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(wnd.m_log, (std::vector<std::string>{"presubclass", "create 77", "destroy", "postncdestroy"}));

    // The object can have a window again.
    wnd.m_log.clear();
    ASSERT_TRUE(CreatePopup(wnd));
    EXPECT_TRUE(wnd.DestroyWindow());
}

TEST_F(CWndTest, RefusedCreationLeavesTheObjectWithoutAWindow) {
    CProbeWnd wnd;
    wnd.m_nCreateResult = -1;
    EXPECT_FALSE(CreatePopup(wnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    ASSERT_FALSE(wnd.m_log.empty());
    EXPECT_EQ(wnd.m_log[0], "presubclass");

    // A second window for an object that has one is refused without touching the first.
    CProbeWnd twice;
    ASSERT_TRUE(CreatePopup(twice));
    HWND hFirst = twice.m_hWnd;
    EXPECT_FALSE(CreatePopup(twice));
    EXPECT_EQ(twice.m_hWnd, hFirst);
}

TEST_F(CWndTest, AnObjectThatDiesFirstTakesItsWindowAlong) {
    HWND hWnd = nullptr;
    {
        CProbeWnd wnd;
        ASSERT_TRUE(CreatePopup(wnd));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(CWndTest, TemporaryObjectsBelongToTheThreadAndGiveWayToPermanentOnes) {
    HWND hWnd = Plain(nullptr, 0);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);  // one temporary per window and thread
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    CWnd* pOtherThreads = nullptr;
    std::thread([&] { pOtherThreads = CWnd::FromHandle(hWnd); }).join();  // freed when that thread ended
    EXPECT_NE(pOtherThreads, pTemp);

    CWnd permanent;
    ASSERT_TRUE(permanent.Attach(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &permanent);
    CWnd second;
    EXPECT_FALSE(second.Attach(hWnd));  // one permanent object per window
    EXPECT_EQ(permanent.Detach(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    // Idle time: the first round keeps the temporaries, the next one frees them; the window stays.
    CWinThread thread;
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);
    EXPECT_FALSE(thread.OnIdle(1));
    EXPECT_TRUE(::IsWindow(hWnd));

    // A temporary object can still destroy the window it stands for.
    CWnd* pFresh = CWnd::FromHandle(hWnd);
    EXPECT_TRUE(pFresh->DestroyWindow());
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(pFresh->m_hWnd, nullptr);
}

namespace {

class CSubclassedItem : public CWnd {
public:
    HWND m_hWndInPreSubclass = nullptr;
    size_t m_nLogSizeInHandler = 0;
    int m_nDowns = 0;

    void PreSubclassWindow() override {
        m_hWndInPreSubclass = m_hWnd;
        ModifyStyle(0, WS_TABSTOP);  // what a control class typically does here
    }
    afx_msg void OnLButtonDown(UINT, CPoint) {
        ++m_nDowns;
        m_nLogSizeInHandler = RecorderLog().size();
        Default();  // then the control's own procedure
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassedItem, CWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

}  // namespace

TEST_F(CWndTest, SubclassDlgItemPutsTheObjectInFrontOfTheControlsProcedure) {
    HWND hParent = Plain(nullptr, 0, 200, 200);
    HWND hItem = Plain(hParent, 100);
    CSubclassedItem item;
    ASSERT_TRUE(item.SubclassDlgItem(100, CWnd::FromHandle(hParent)));
    EXPECT_EQ(item.m_hWndInPreSubclass, hItem);
    EXPECT_NE(::GetWindowLongW(hItem, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(CWnd::FromHandlePermanent(hItem), &item);

    RecorderLog().clear();
    ::SendMessageW(hItem, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 3));
    EXPECT_EQ(item.m_nDowns, 1);
    EXPECT_EQ(item.m_nLogSizeInHandler, 0u);                // the object first ...
    EXPECT_EQ(CountReceived(hItem, WM_LBUTTONDOWN), 1);     // ... then the control, once
    ::SendMessageW(hItem, WM_KEYDOWN, VK_SPACE, 0);         // not in the map: straight through
    EXPECT_EQ(CountReceived(hItem, WM_KEYDOWN), 1);

    CSubclassedItem other;
    EXPECT_FALSE(other.SubclassDlgItem(100, CWnd::FromHandle(hParent)));  // taken
    EXPECT_FALSE(other.SubclassDlgItem(999, CWnd::FromHandle(hParent)));  // no such item
    EXPECT_EQ(other.m_hWnd, nullptr);

    EXPECT_EQ(item.UnsubclassWindow(), hItem);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hItem, GWLP_WNDPROC)), &afxtest::RecorderProc);
    ::SendMessageW(hItem, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(item.m_nDowns, 1);
    EXPECT_EQ(CountReceived(hItem, WM_LBUTTONDOWN), 2);
}

namespace {

UINT g_nSyncMessage = 0;

// Passes the message on, so the recording class procedure counts every delivery.
class CPassOnWnd : public CWnd {
public:
    int m_nSeen = 0;
    afx_msg LRESULT OnSync(WPARAM, LPARAM) {
        ++m_nSeen;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPassOnWnd, CWnd)
    ON_REGISTERED_MESSAGE(g_nSyncMessage, OnSync)
END_MESSAGE_MAP()

}  // namespace

TEST_F(CWndTest, SendMessageToDescendantsDeepShallowAndPermanentOnly) {
    g_nSyncMessage = ::RegisterWindowMessageW(u"AfxTest_SyncStatus");
    // top ─┬─ a (object) ── a1 ── a1a (object)
    //      └─ b
    HWND hTop = Plain(nullptr, 0, 200, 200);
    HWND hA = Plain(hTop, 1);
    HWND hA1 = Plain(hA, 2);
    HWND hA1a = Plain(hA1, 3);
    HWND hB = Plain(hTop, 4);
    CPassOnWnd a, a1a;
    ASSERT_TRUE(a.SubclassWindow(hA));
    ASSERT_TRUE(a1a.SubclassWindow(hA1a));
    CWnd* pTop = CWnd::FromHandle(hTop);

    auto counts = [&] {
        std::vector<int> n;
        for (HWND h : {hTop, hA, hA1, hA1a, hB}) n.push_back(CountReceived(h, g_nSyncMessage));
        RecorderLog().clear();
        return n;
    };

    pTop->SendMessageToDescendants(g_nSyncMessage, 1, 0, FALSE, FALSE);
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 0, 0, 1}));
    pTop->SendMessageToDescendants(g_nSyncMessage, 1, 0, TRUE, FALSE);
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 1, 1, 1}));
    pTop->SendMessageToDescendants(g_nSyncMessage, 1, 0, TRUE, TRUE);
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 0, 1, 0}));
    pTop->SendMessageToDescendants(g_nSyncMessage, 1, 0, FALSE, TRUE);
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(a.m_nSeen, 4);
    EXPECT_EQ(a1a.m_nSeen, 2);
}

TEST_F(CWndTest, TimersArriveWhenTheManualClockReachesThem) {
    afxtest::Watchdog watchdog(30);
    SYSTEMTIME start{2026, 12, 1, 7, 9, 0, 0, 0};
    vela::clock::UseManual(start);
    CProbeWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    ASSERT_EQ(wnd.SetTimer(7, 100, nullptr), 7u);
    wnd.m_log.clear();

    vela::input::PumpUntilIdle();
    vela::clock::Advance(std::chrono::milliseconds(99));
    vela::input::PumpUntilIdle();
    EXPECT_TRUE(wnd.m_log.empty());
    vela::clock::Advance(std::chrono::milliseconds(1));
    vela::input::PumpUntilIdle();
    EXPECT_EQ(wnd.m_log, (std::vector<std::string>{"timer 7"}));

    EXPECT_TRUE(wnd.KillTimer(7));
    vela::clock::Advance(std::chrono::milliseconds(500));
    vela::input::PumpUntilIdle();
    EXPECT_EQ(wnd.m_log.size(), 1u);
    wnd.DestroyWindow();
    vela::clock::UseHost();
}
