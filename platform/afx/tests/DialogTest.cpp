// Modal dialogs from the executable's templates, driven by taps and keys from another thread
// as a script would: data exchange both ways, an owner-drawn OK button tied by DDX_Control,
// and the ways a dialog can end before it shows.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <vela/Input.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "data/AfxTestsResource.h"
#include "WndTestSupport.h"

namespace {

class CDrawnOk : public CButton {
public:
    std::atomic<int> m_nDraws{0};
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        ++m_nDraws;
        ::FillRect(lpDrawItemStruct->hDC, &lpDrawItemStruct->rcItem, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    }
};

class CNameDialog : public CDialog {
public:
    CNameDialog() : CDialog(IDD_NAME) {}

    CString m_strName = u"初期値";
    CDrawnOk m_okButton;
    std::atomic<HWND> m_hWndShown{nullptr};
    bool m_bOkTiedInInit = false;
    CString m_strEditInInit;
    int m_nExchanges = 0;

    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        ++m_nExchanges;
        DDX_Control(pDX, IDOK, m_okButton);
        DDX_Text(pDX, IDC_NAME, m_strName);
    }
    BOOL OnInitDialog() override {
        BOOL bResult = CDialog::OnInitDialog();
        m_bOkTiedInInit = m_okButton.m_hWnd == ::GetDlgItem(m_hWnd, IDOK) &&
                          CWnd::FromHandlePermanent(m_okButton.m_hWnd) == &m_okButton;
        GetDlgItemText(IDC_NAME, m_strEditInInit);
        m_hWndShown = m_hWnd;
        return bResult;
    }
};

// Plays the user's part from another thread once the dialog waits for input.
class User {
public:
    explicit User(std::function<void(HWND)> act) : m_uiThread(::GetCurrentThreadId()), m_act(std::move(act)) {}
    void Start(const std::atomic<HWND>& hWndDialog) {
        m_thread = std::thread([this, &hWndDialog] {
            if (!vela::input::WaitUntilIdle(m_uiThread, std::chrono::seconds(10))) return;
            HWND hDlg = hWndDialog.load();
            if (hDlg != nullptr) m_act(hDlg);
        });
    }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }
    ~User() { Join(); }

private:
    DWORD m_uiThread;
    std::function<void(HWND)> m_act;
    std::thread m_thread;
};

POINT CenterOf(HWND hWnd) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class CDialogTest : public ::testing::Test {
protected:
    afxtest::Watchdog m_watchdog{30};
};

}  // namespace

TEST_F(CDialogTest, TapOnOkSavesTheEditedTextAndEndsWithIdok) {
    CNameDialog dlg;
    User user([](HWND hDlg) {
        ::SetDlgItemTextW(hDlg, IDC_NAME, u"変更後");
        POINT ok = CenterOf(::GetDlgItem(hDlg, IDOK));
        vela::input::Tap(ok.x, ok.y);
    });
    user.Start(dlg.m_hWndShown);
    EXPECT_EQ(dlg.DoModal(), IDOK);

    EXPECT_TRUE(dlg.m_bOkTiedInInit);
    EXPECT_EQ(std::u16string(dlg.m_strEditInInit), u"初期値");  // members went into the controls
    EXPECT_EQ(std::u16string(dlg.m_strName), u"変更後");       // and came back on OK
    EXPECT_EQ(dlg.m_nExchanges, 2);
    EXPECT_GT(dlg.m_okButton.m_nDraws.load(), 0);               // drawn through its parent's WM_DRAWITEM
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_okButton.m_hWnd, nullptr);                  // let go of with its window
}

TEST_F(CDialogTest, EscapeCancelsAndKeepsTheMembersOfACentredDialog) {
    CNameDialog dlg;
    RECT rcShown{};
    User user([&rcShown](HWND hDlg) {
        ::GetWindowRect(hDlg, &rcShown);
        ::SetDlgItemTextW(hDlg, IDC_NAME, u"捨てる");
        vela::input::KeyPress(VK_ESCAPE);
    });
    user.Start(dlg.m_hWndShown);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(std::u16string(dlg.m_strName), u"初期値");
    EXPECT_EQ(dlg.m_nExchanges, 1);
    user.Join();

    // Neither shown nor moved by OnInitDialog: centred on the screen (no owner).
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((rcShown.left + rcShown.right) / 2, cxScreen / 2, 1);
    EXPECT_NEAR((rcShown.top + rcShown.bottom) / 2, cyScreen / 2, 1);
    EXPECT_GT(rcShown.right - rcShown.left, 0);
}

namespace {

class CClosesAtOnce : public CDialog {
public:
    CClosesAtOnce() : CDialog(IDD_CLOSES_AT_ONCE) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        EndDialog(42);
        return TRUE;
    }
};

}  // namespace

TEST_F(CDialogTest, DialogEndedInOnInitDialogAndMissingTemplate) {
    CClosesAtOnce dlg;
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    CDialog missing(4321);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.Create(4321));
}

TEST_F(CDialogTest, ModelessDialogLivesUntilDestroyed) {
    CNameDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_NAME));
    EXPECT_TRUE(dlg.m_bOkTiedInInit);
    CString text;
    dlg.GetDlgItemText(IDC_NAME, text);
    EXPECT_EQ(std::u16string(text), u"初期値");
    ::SetDlgItemTextW(dlg.m_hWnd, IDC_NAME, u"abc");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(std::u16string(dlg.m_strName), u"abc");
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_okButton.m_hWnd, nullptr);
}
