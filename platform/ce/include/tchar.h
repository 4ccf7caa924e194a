// Generic-text names; TCHAR is always WCHAR on the terminal.
#pragma once

#include "wintypes.h"
#include "wincrt.h"

#define _tfopen _wfopen
#define _fgetts fgetws
#define _fputts fputws
#define _ttoi _wtoi
#define _ttol _wtol
#define _istspace iswspace
#define _totupper towupper
#define _totlower towlower
#define _tcslen wcslen
#define _tcscpy wcscpy
#define _tcsncpy wcsncpy
#define _tcscat wcscat
#define _tcscmp wcscmp
#define _tcsncmp wcsncmp
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tcsupr _wcsupr
#define _tcslwr _wcslwr
