// A window application outside the kit's build: a dialog from its own template with an
// owner-drawn button, a themed OK button and a clock status window from the package's
// libraries, run through the installed program entry and driven by a script.
#include <VelaNotify.h>
#include <VelaTheme.h>
#include <afxwin.h>
#include <afxdialog.h>

namespace {

constexpr UINT kDialog = 100;
constexpr int kPainted = 1001;
constexpr int kClock = 1002;

class CPaintedButton : public CButton {
public:
    int m_nDrawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        ++m_nDrawn;
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->FillSolidRect(&item->rcItem, RGB(0, 0, 255));
    }
};

// Counts its paints; the picture itself comes from the theme library's tiles.
class CCountedThemeButton : public CVelaThemeButton {
public:
    int m_nDrawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        ++m_nDrawn;
        CVelaThemeButton::DrawItem(item);
    }
};

class CWindowDialog : public CDialog {
public:
    CWindowDialog() : CDialog(kDialog) {}
    CPaintedButton m_painted;
    CCountedThemeButton m_ok;
    CVLNfClockWnd m_clock;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kPainted, m_painted);
        DDX_Control(pDX, IDOK, m_ok);
        DDX_Control(pDX, kClock, m_clock);
    }
};

class CWindowApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CWindowDialog dialog;
        m_pMainWnd = &dialog;
        const INT_PTR result = dialog.DoModal();
        // The script presses OK; both owner-drawn buttons must have painted themselves by then.
        m_nResult = (result == IDOK && dialog.m_painted.m_nDrawn > 0 && dialog.m_ok.m_nDrawn > 0) ? 0 : 3;
        m_pMainWnd = nullptr;
        return FALSE;
    }
    int ExitInstance() override {
        CWinApp::ExitInstance();
        return m_nResult;
    }

private:
    int m_nResult = 4;
};

CWindowApp theApp;

}  // namespace
