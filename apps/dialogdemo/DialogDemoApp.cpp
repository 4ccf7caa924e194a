// The dialog demo: an application of the terminal's kind whose main window is a modal dialog.
#include <afxwin.h>

#include "DemoDialog.h"

class CDialogDemoApp : public CWinApp {
public:
    CDialogDemoApp() : CWinApp(u"DialogDemo") {}

    BOOL InitInstance() override {
        CDemoDialog dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        // The dialog was the whole application: no message loop after it.
        return FALSE;
    }
};

CDialogDemoApp theApp;
