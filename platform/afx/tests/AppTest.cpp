// The application object run by AfxWinMain: exit codes (also after a failed InitInstance),
// thread messages during Run, the main frame whose closing ends the loop, the name and the
// command line.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <vela/Input.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "WndTestSupport.h"

namespace {

UINT g_nQuitWith = 0;

// Records the calls the loop makes; what InitInstance does is chosen per test.
class CProbeApp : public CWinApp {
public:
    explicit CProbeApp(LPCTSTR lpszName = nullptr) : CWinApp(lpszName) {}

    std::vector<std::string> m_calls;
    BOOL m_bInitResult = TRUE;
    int m_nExitOverride = -1000;  // keep the library's result unless set
    bool m_bMakeFrame = false;
    bool m_bCloseFrameAtOnce = true;
    std::atomic<HWND> m_hWndFrame{nullptr};
    LONG m_nIdleRounds = 0;
    CCommandLineInfo m_cmdInfo;

    BOOL InitInstance() override {
        m_calls.push_back("init");
        ParseCommandLine(m_cmdInfo);
        if (m_bMakeFrame) {
            auto* pFrame = new CFrameWnd;
            if (!pFrame->Create(nullptr, u"main")) return FALSE;
            m_pMainWnd = pFrame;
            m_hWndFrame = pFrame->m_hWnd;
            if (m_bCloseFrameAtOnce) pFrame->PostMessage(WM_CLOSE);
        } else if (m_bInitResult) {
            // Without a window the loop ends at once; a thread message decides the code first.
            PostThreadMessage(g_nQuitWith, 5, 0);
            m_pMainWnd = nullptr;
        }
        return m_bInitResult;
    }
    int Run() override {
        m_calls.push_back("run");
        return CWinApp::Run();
    }
    int ExitInstance() override {
        int nResult = CWinApp::ExitInstance();
        m_calls.push_back("exit " + std::to_string(nResult));
        return m_nExitOverride != -1000 ? m_nExitOverride : nResult;
    }
    BOOL OnIdle(LONG lCount) override {
        ++m_nIdleRounds;
        return CWinApp::OnIdle(lCount);
    }
    afx_msg void OnQuitWith(WPARAM wParam, LPARAM) {
        m_calls.push_back("quit with " + std::to_string(wParam));
        ::PostQuitMessage(static_cast<int>(wParam));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeApp, CWinApp)
    ON_REGISTERED_THREAD_MESSAGE(g_nQuitWith, OnQuitWith)
END_MESSAGE_MAP()

int RunApp(LPCWSTR pszCmdLine) {
    std::u16string cmdLine(pszCmdLine);
    return AfxWinMain(::GetModuleHandleW(nullptr), nullptr, cmdLine.data(), SW_SHOWNORMAL);
}

class CAppTest : public ::testing::Test {
protected:
    void SetUp() override { g_nQuitWith = ::RegisterWindowMessageW(u"AfxTest_QuitWith"); }
    afxtest::Watchdog m_watchdog{30};
};

}  // namespace

TEST_F(CAppTest, FailedInitInstanceStillRunsExitInstanceWhoseResultIsTheExitCode) {
    CProbeApp app;
    app.m_bInitResult = FALSE;
    app.m_nExitOverride = 7;
    EXPECT_EQ(RunApp(u""), 7);
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"init", "exit 0"}));  // no Run; nothing posted a quit code
}

TEST_F(CAppTest, ThreadMessageHandlersRunInTheLoopAndTheQuitCodeComesOut) {
    CProbeApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
    EXPECT_EQ(RunApp(u""), 5);
    // Run without a main window posts its own quit, but the thread message queued first wins.
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"init", "run", "quit with 5", "exit 5"}));
}

TEST_F(CAppTest, ClosingTheMainFrameEndsTheApplication) {
    CProbeApp app;
    app.m_bMakeFrame = true;
    EXPECT_EQ(RunApp(u""), 0);
    EXPECT_EQ(app.m_calls, (std::vector<std::string>{"init", "run", "exit 0"}));
    EXPECT_EQ(app.m_pMainWnd, nullptr);  // the frame deleted itself with its window
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

TEST_F(CAppTest, AnIdleApplicationWaitsInGetMessageAfterItsIdleRounds) {
    CProbeApp app;
    app.m_bMakeFrame = true;
    app.m_bCloseFrameAtOnce = false;
    DWORD uiThread = ::GetCurrentThreadId();
    std::atomic<bool> bReachedIdle{false};
    std::thread user([&] {
        bReachedIdle = vela::input::WaitUntilIdle(uiThread, std::chrono::seconds(10));
        while (app.m_hWndFrame.load() == nullptr) std::this_thread::yield();
        ::PostMessageW(app.m_hWndFrame.load(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(RunApp(u""), 0);
    user.join();
    EXPECT_TRUE(bReachedIdle);
    EXPECT_GE(app.m_nIdleRounds, 2);  // the round that keeps temporaries, then the one that frees them
}

TEST_F(CAppTest, NameAndCommandLine) {
    {
        CProbeApp named(u"Sample App");
        EXPECT_EQ(std::u16string(named.m_pszAppName), u"Sample App");
        EXPECT_EQ(std::u16string(AfxGetAppName()), u"Sample App");
    }
    CProbeApp app;
    EXPECT_EQ(std::u16string(app.m_pszAppName), u"platform_afx_tests");  // the executable's name
    app.m_bInitResult = FALSE;
    RunApp(u"/p \"C:\\My Files\\job 1.txt\" ignored");
    EXPECT_EQ(std::u16string(app.m_lpCmdLine), u"/p \"C:\\My Files\\job 1.txt\" ignored");
    EXPECT_EQ(app.m_hInstance, ::GetModuleHandleW(nullptr));
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(std::u16string(app.m_cmdInfo.m_strFileName), u"C:\\My Files\\job 1.txt");
    EXPECT_EQ(app.m_cmdInfo.m_nShellCommand, CCommandLineInfo::FilePrint);

    CCommandLineInfo open;
    open.ParseParam(u"readme.txt", FALSE, TRUE);
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);  // a file alone means open it
}

TEST_F(CAppTest, WithoutAnApplicationObjectTheEntryFails) {
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(RunApp(u""), -1);
    EXPECT_EQ(AfxGetThread(), nullptr);
}
