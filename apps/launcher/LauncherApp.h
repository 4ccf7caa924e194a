// The sample menu launcher: a menu application that waits for the network, shows the
// outcome, and runs the resume job its command line chooses (see LauncherOptions.h).
#pragma once

#include <VelaFW.h>

#include "LauncherOptions.h"

class CLauncherApp : public CVLFWMenuApp {
public:
    CLauncherApp() = default;

    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    // Both run outside the application's thread: they only post the news to it.
    void OnJobStart(VelaDevType devices, BOOL bResumed) override;
    void OnPowerResumed() override;

    afx_msg void OnWaitState(WPARAM state, LPARAM resumed);

    DECLARE_MESSAGE_MAP()

private:
    LauncherOptions m_options;
    int m_nExitCode = 0;
};
