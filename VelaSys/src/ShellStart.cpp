#include "ShellStart.h"

#include <shellapi.h>

namespace velasys {

void StartShellProgram(HWND parent, LPCWSTR file, LPCWSTR parameters) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = 0;
    info.hwnd = parent;
    info.lpVerb = nullptr;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteEx(&info);
}

}  // namespace velasys
