// The program entry of an application written on the class library: the platform's command
// line (on this platform it holds only the arguments, as WinMain's lpCmdLine does) and the
// executable's module go to AfxWinMain, which runs the application object. A script named by
// VELA_SCRIPT drives the run headless.
#include <afxwin.h>
#include <vela/Script.h>

int main() {
    vela::script::StartFromEnvironment();
    int nExitCode = AfxWinMain(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOWNORMAL);
    return vela::script::FinishFromEnvironment(nExitCode);
}
