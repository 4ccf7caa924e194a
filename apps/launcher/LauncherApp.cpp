#include "LauncherApp.h"

#include "LauncherDialog.h"
#include "ResourceText.h"
#include "resource.h"

namespace {

constexpr int kExitBadOption = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CLauncherApp, CVLFWMenuApp)
    ON_THREAD_MESSAGE(WM_LAUNCHER_WAITSTATE, OnWaitState)
END_MESSAGE_MAP()

BOOL CLauncherApp::InitInstance() {
    CSwitchArguments args;
    ParseCommandLine(args);
    const CString wrong = ParseLauncherOptions(args, m_options);
    if (!wrong.IsEmpty()) {
        CString text;
        text.Format(ResourceText(IDS_BAD_OPTION), static_cast<LPCWSTR>(wrong));
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
        m_nExitCode = kExitBadOption;
        return FALSE;
    }
    AddWaitTarget(VelaDevNetwork);
    SetTimeoutTime(m_options.timeoutSeconds);
    SetResumeJobType(m_options.resume);
    if (!CVLFWMenuApp::InitInstance()) return FALSE;

    CLauncherDialog dialog(m_options);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;  // the dialog was the whole program
}

int CLauncherApp::ExitInstance() {
    CVLFWMenuApp::ExitInstance();
    return m_nExitCode;
}

void CLauncherApp::OnJobStart(VelaDevType devices, BOOL bResumed) {
    const WaitState state = devices == VelaDevTimeOut ? kWaitTimedOut : kWaitReady;
    ::PostThreadMessageW(m_nThreadID, WM_LAUNCHER_WAITSTATE, state, bResumed);
}

void CLauncherApp::OnPowerResumed() {
    ::PostThreadMessageW(m_nThreadID, WM_LAUNCHER_WAITSTATE, kWaitRunning, TRUE);
}

void CLauncherApp::OnWaitState(WPARAM state, LPARAM resumed) {
    // The dialog may be gone already when a late outcome arrives.
    auto* dialog = dynamic_cast<CLauncherDialog*>(m_pMainWnd);
    if (dialog != nullptr && dialog->m_hWnd != nullptr) {
        dialog->ShowWaitState(static_cast<WaitState>(state), resumed != 0);
    }
}

CLauncherApp theApp;
