// VelaSetup: the kit's setup library for the terminal's cabinet installer. Install_Exit moves
// every file the installer placed in the installation directory into \Windows.
#pragma once

#include <ce_setup.h>

extern "C" {

codeINSTALL_INIT Install_Init(HWND hwndParent, BOOL fFirstCall, BOOL fPreviouslyInstalled, LPCWSTR pszInstallDir);
codeINSTALL_EXIT Install_Exit(HWND hwndParent, LPCWSTR pszInstallDir, WORD cFailedDirs, WORD cFailedFiles,
                              WORD cFailedRegKeys, WORD cFailedRegVals, WORD cFailedShortcuts);
codeUNINSTALL_INIT Uninstall_Init(HWND hwndParent, LPCWSTR pszInstallDir);
codeUNINSTALL_EXIT Uninstall_Exit(HWND hwndParent);
}
