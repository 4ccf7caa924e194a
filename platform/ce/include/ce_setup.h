// The setup library interface of the terminal's cabinet installer: the installer loads the
// library named in the cabinet and calls these four entry points around installing and
// removing the application. The entry names are for GetProcAddress (UTF-16 on the terminal).
#pragma once

#include "wintypes.h"
#include "windef.h"

typedef enum { codeINSTALL_INIT_CONTINUE = 0, codeINSTALL_INIT_CANCEL } codeINSTALL_INIT;
typedef enum { codeINSTALL_EXIT_DONE = 0, codeINSTALL_EXIT_UNINSTALL } codeINSTALL_EXIT;
typedef enum { codeUNINSTALL_INIT_CONTINUE = 0, codeUNINSTALL_INIT_CANCEL } codeUNINSTALL_INIT;
typedef enum { codeUNINSTALL_EXIT_DONE = 0 } codeUNINSTALL_EXIT;

typedef codeINSTALL_INIT (*pfnINSTALL_INIT)(HWND hwndParent, BOOL fFirstCall, BOOL fPreviouslyInstalled,
                                            LPCWSTR pszInstallDir);
typedef codeINSTALL_EXIT (*pfnINSTALL_EXIT)(HWND hwndParent, LPCWSTR pszInstallDir, WORD cFailedDirs,
                                            WORD cFailedFiles, WORD cFailedRegKeys, WORD cFailedRegVals,
                                            WORD cFailedShortcuts);
typedef codeUNINSTALL_INIT (*pfnUNINSTALL_INIT)(HWND hwndParent, LPCWSTR pszInstallDir);
typedef codeUNINSTALL_EXIT (*pfnUNINSTALL_EXIT)(HWND hwndParent);

#define szINSTALL_INIT u"Install_Init"
#define szINSTALL_EXIT u"Install_Exit"
#define szUNINSTALL_INIT u"Uninstall_Init"
#define szUNINSTALL_EXIT u"Uninstall_Exit"
