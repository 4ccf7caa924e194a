// The program entry of an application written on the class library: the platform's command
// line (on this platform it holds only the arguments, as WinMain's lpCmdLine does) and the
// executable's module go to AfxWinMain, which runs the application object. The simulator
// around it (a script, the desktop window, the control listener) follows the environment.
#include <afxwin.h>
#include <vela/Simulator.h>

int main() {
    if (!vela::sim::StartFromEnvironment()) {
        return 1;
    }
    int nExitCode = AfxWinMain(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOWNORMAL);
    return vela::sim::FinishFromEnvironment(nExitCode);
}
