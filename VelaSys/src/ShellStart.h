// Starts a terminal program through the shell, shown normally, without waiting for it and
// without looking at the outcome: the settings pages are a convenience for the user.
#pragma once

#include <windows.h>

namespace velasys {

void StartShellProgram(HWND parent, LPCWSTR file, LPCWSTR parameters);

}  // namespace velasys
