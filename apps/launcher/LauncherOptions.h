// What the launcher's command line chooses:
//   /menu:PATH        the first menu (default \Menu\Main.mnu)
//   /log:PATH         the operation log of the program starts (default \Temp\Launcher.log)
//   /resume:JOB       what a wake-up from suspend does: wait (default: wait for the network
//                     again), exit (close the launcher), poweroff (close it and power the
//                     terminal off at exit), none
//   /timeout:SECONDS  how long the network is waited for, 1 to 3600 (default 10)
#pragma once

#include <VelaFW.h>

#include "SwitchArguments.h"

struct LauncherOptions {
    CString firstMenu = u"\\Menu\\Main.mnu";
    CString logFile = u"\\Temp\\Launcher.log";
    VelaResumeType resume = VelaResumeRestartWait;
    int timeoutSeconds = 10;
};

// Empty when every argument is understood; otherwise the first one that is not, as given.
// The options then hold what was understood before it.
CString ParseLauncherOptions(const CSwitchArguments& args, LauncherOptions& options);
