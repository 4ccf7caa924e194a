// Shell execution: start a program (or open a file) the way the terminal's shell does.
#pragma once

#include "wintypes.h"
#include "windef.h"
#include "winerror.h"
#include "winreg.h"

#define SEE_MASK_CLASSNAME 0x00000001
#define SEE_MASK_CLASSKEY 0x00000003
#define SEE_MASK_IDLIST 0x00000004
#define SEE_MASK_INVOKEIDLIST 0x0000000C
#define SEE_MASK_ICON 0x00000010
#define SEE_MASK_HOTKEY 0x00000020
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_CONNECTNETDRV 0x00000080
#define SEE_MASK_FLAG_DDEWAIT 0x00000100
#define SEE_MASK_DOENVSUBST 0x00000200
#define SEE_MASK_FLAG_NO_UI 0x00000400

// hInstApp after a failure (a value above 32 means success).
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_DLLNOTFOUND 32
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_NOASSOC 31

typedef struct _SHELLEXECUTEINFO {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  LPVOID lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;
} SHELLEXECUTEINFO, *LPSHELLEXECUTEINFO;

// lpFile is a terminal path, or a bare name looked for in \Windows. The request is recorded on
// the simulated terminal, then the program is started with lpParameters as its command line;
// with SEE_MASK_NOCLOSEPROCESS, hProcess receives its process handle (the caller closes it).
// On failure: FALSE, the last error, and hInstApp holds the SE_ERR_* code.
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo);

// The desktop's ANSI form: starts lpFile with lpParameters as ShellExecuteEx does. The result is
// above 32 on success, else an SE_ERR_* code (the last error is set too).
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, INT nShowCmd);
