// The program entry of an application written on the class library: the platform hands the
// arguments after the program's name and the executable's module to AfxWinMain, which runs the
// application object. A script named by VELA_SCRIPT drives the run headless.
#include <afxwin.h>
#include <vela/Script.h>

namespace {

// The command line without the program's name, as the platform's WinMain receives it.
LPWSTR ArgumentsOf(LPWSTR pszCmdLine) {
    if (pszCmdLine == nullptr) {
        static WCHAR empty[1] = {0};
        return empty;
    }
    WCHAR* p = pszCmdLine;
    if (*p == u'"') {
        ++p;
        while (*p != 0 && *p != u'"') ++p;
        if (*p == u'"') ++p;
    } else {
        while (*p != 0 && *p != u' ' && *p != u'\t') ++p;
    }
    while (*p == u' ' || *p == u'\t') ++p;
    return p;
}

}  // namespace

int main() {
    vela::script::StartFromEnvironment();
    int nExitCode = AfxWinMain(::GetModuleHandleW(nullptr), nullptr, ArgumentsOf(::GetCommandLineW()), SW_SHOWNORMAL);
    return vela::script::FinishFromEnvironment(nExitCode);
}
