// The desktop launcher: started with the path of an application-manager description file, it
// starts the desktop's application manager with that file, or says in a message box why it
// cannot. It opens no window of its own.
//
// The desktop program is built for the multi-byte character set: it calls the ...A functions
// of the platform explicitly (texts in the ANSI code page), since TCHAR is WCHAR here.
#pragma once

#include <afxwin.h>

class CVelaDeskApp : public CWinApp {
 public:
  CVelaDeskApp();

  // The whole of the program's work; FALSE, so the program ends at once with exit code 0.
  BOOL InitInstance() override;

 protected:
  // Reads where the application manager is installed into m_szAppMgrPath.
  BOOL ReadAppManagerPath();
  // The description-file path in double quotes, or FALSE when it does not fit pszParam.
  static BOOL QuoteArgument(LPCWSTR pszFile, LPSTR pszParam, size_t cbParam);
  // String uID of the program's table, with the stop icon, captioned with the program's name.
  void ShowMessage(UINT uID);

  char m_szAppMgrPath[260];
};
