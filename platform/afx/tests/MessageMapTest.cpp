// Message maps: entries found along the chain of base maps, derived entries winning over base
// ones, registered messages matched by their number at dispatch, command routing with ranges and
// declining handlers, and thread messages of a thread's map. No windows are needed: the maps
// are exercised through OnWndMsg/OnCmdMsg directly.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WndTestSupport.h"

namespace {

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

UINT g_nPingMessage = 0;     // registered at run time, after the maps were built
UINT g_nUnusedMessage = 0;   // never registered

class CBaseWnd : public CWnd {
public:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Calls().push_back("base timer " + std::to_string(nIDEvent)); }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        Calls().push_back("base size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
        Calls().push_back("base down " + std::to_string(nFlags) + " " + std::to_string(point.x) + "," +
                          std::to_string(point.y));
    }
    afx_msg void OnSave() { Calls().push_back("base save"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_COMMAND(200, OnSave)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    // The same message, another handler (with the older UINT id): the derived map is searched first.
    afx_msg void OnTimer(UINT nIDEvent) { Calls().push_back("derived timer " + std::to_string(nIDEvent)); }
    afx_msg LRESULT OnPing(WPARAM wParam, LPARAM lParam) {
        Calls().push_back("ping " + std::to_string(wParam));
        return lParam * 2;
    }
    afx_msg void OnDigit(UINT nID) { Calls().push_back("digit " + std::to_string(nID)); }
    afx_msg BOOL OnMaybe(UINT nID) {
        Calls().push_back("maybe " + std::to_string(nID));
        return nID == 301;
    }
    afx_msg LRESULT OnUnused(WPARAM, LPARAM) {
        Calls().push_back("unused");
        return 0;
    }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor) {
        Calls().push_back("ctlcolor " + std::to_string(nCtlColor));
        return reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(0x1234));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_TIMER()
    ON_REGISTERED_MESSAGE(g_nPingMessage, OnPing)
    ON_REGISTERED_MESSAGE(g_nUnusedMessage, OnUnused)
    ON_COMMAND_RANGE(210, 219, OnDigit)
    ON_COMMAND_EX(300, OnMaybe)
    ON_COMMAND_EX(301, OnMaybe)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class CMessageMapTest : public ::testing::Test {
protected:
    void SetUp() override { Calls().clear(); }
};

}  // namespace

TEST_F(CMessageMapTest, DerivedEntriesWinAndBaseEntriesStillServe) {
    CDerivedWnd wnd;
    LRESULT lResult = -1;
    ASSERT_TRUE(wnd.OnWndMsg(WM_TIMER, 5, 0, &lResult));
    ASSERT_TRUE(wnd.OnWndMsg(WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 300), &lResult));
    ASSERT_TRUE(wnd.OnWndMsg(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 17), &lResult));
    EXPECT_FALSE(wnd.OnWndMsg(WM_PAINT, 0, 0, &lResult));  // no entry anywhere in the chain

    CBaseWnd base;
    ASSERT_TRUE(base.OnWndMsg(WM_TIMER, 6, 0, &lResult));

    EXPECT_EQ(Calls(), (std::vector<std::string>{"derived timer 5", "base size 0 240x300", "base down 1 -3,17",
                                                 "base timer 6"}));
}

TEST_F(CMessageMapTest, RegisteredMessagesMatchTheNumberKnownAtDispatch) {
    CDerivedWnd wnd;
    LRESULT lResult = 0;
    // Before registration the entry's number is 0 and matches nothing, not even message 0.
    EXPECT_FALSE(wnd.OnWndMsg(0, 0, 0, &lResult));

    g_nPingMessage = ::RegisterWindowMessageW(u"AfxTest_Ping");
    ASSERT_GE(g_nPingMessage, 0xC000u);
    ASSERT_TRUE(wnd.OnWndMsg(g_nPingMessage, 9, 21, &lResult));
    EXPECT_EQ(lResult, 42);
    EXPECT_EQ(::RegisterWindowMessageW(u"afxtest_ping"), g_nPingMessage);  // names are case-blind

    UINT nOther = ::RegisterWindowMessageW(u"AfxTest_Other");
    EXPECT_FALSE(wnd.OnWndMsg(nOther, 0, 0, &lResult));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"ping 9"}));
}

TEST_F(CMessageMapTest, CommandsRouteByIdRangeAndDecliningHandlers) {
    CDerivedWnd wnd;
    EXPECT_TRUE(wnd.OnCmdMsg(200, 0, nullptr, nullptr));   // base entry
    EXPECT_TRUE(wnd.OnCmdMsg(214, 0, nullptr, nullptr));   // inside the range
    EXPECT_FALSE(wnd.OnCmdMsg(220, 0, nullptr, nullptr));  // just past it
    EXPECT_FALSE(wnd.OnCmdMsg(300, 0, nullptr, nullptr));  // handler declined
    EXPECT_TRUE(wnd.OnCmdMsg(301, 0, nullptr, nullptr));
    EXPECT_FALSE(wnd.OnCmdMsg(200, BN_DOUBLECLICKED, nullptr, nullptr));  // another notification code

    // WM_COMMAND from a menu or accelerator (no control) reaches the same entries.
    LRESULT lResult = 0;
    EXPECT_TRUE(wnd.OnWndMsg(WM_COMMAND, MAKEWPARAM(211, 1), 0, &lResult));
    EXPECT_EQ(lResult, 1);

    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(wnd.OnCmdMsg(200, 0, nullptr, &info));  // only asks: nothing is called
    EXPECT_EQ(info.pTarget, &wnd);

    EXPECT_EQ(Calls(), (std::vector<std::string>{"base save", "digit 214", "maybe 300", "maybe 301", "digit 211"}));
}

TEST_F(CMessageMapTest, ColourMessagesOfEveryKindReachOneHandlerWithTheirKind) {
    CDerivedWnd wnd;
    LRESULT lResult = 0;
    ASSERT_TRUE(wnd.OnWndMsg(WM_CTLCOLORSTATIC, 0, 0, &lResult));
    EXPECT_EQ(lResult, 0x1234);
    ASSERT_TRUE(wnd.OnWndMsg(WM_CTLCOLOREDIT, 0, 0, &lResult));
    ASSERT_TRUE(wnd.OnWndMsg(WM_CTLCOLORBTN, 0, 0, &lResult));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"ctlcolor " + std::to_string(CTLCOLOR_STATIC),
                                                 "ctlcolor " + std::to_string(CTLCOLOR_EDIT),
                                                 "ctlcolor " + std::to_string(CTLCOLOR_BTN)}));
}

namespace {

UINT g_nThreadWake = 0;

class CWorkerThread : public CWinThread {
public:
    afx_msg void OnJob(WPARAM wParam, LPARAM) { Calls().push_back("job " + std::to_string(wParam)); }
    afx_msg void OnWake(WPARAM, LPARAM lParam) { Calls().push_back("wake " + std::to_string(lParam)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWorkerThread, CWinThread)
    ON_THREAD_MESSAGE(WM_APP + 1, OnJob)
    ON_REGISTERED_THREAD_MESSAGE(g_nThreadWake, OnWake)
END_MESSAGE_MAP()

}  // namespace

TEST_F(CMessageMapTest, ThreadMessagesGoToTheThreadMapWindowMessagesDoNot) {
    g_nThreadWake = ::RegisterWindowMessageW(u"AfxTest_ThreadWake");
    CWorkerThread thread;
    MSG job{nullptr, WM_APP + 1, 3, 0, 0, {0, 0}};
    MSG wake{nullptr, g_nThreadWake, 0, 8, 0, {0, 0}};
    MSG other{nullptr, WM_APP + 2, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(thread.PreTranslateMessage(&job));
    EXPECT_TRUE(thread.PreTranslateMessage(&wake));
    EXPECT_FALSE(thread.PreTranslateMessage(&other));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"job 3", "wake 8"}));
}
