// The registrar: adds the kit's directories to the development tools' lists, or takes them out.
// The kit root is the folder of this library, the root of the kit's desktop installation.
#pragma once

#include <windows.h>

#include "ListValue.h"

namespace velasdkreg {

class CVelaSdkRegistrar {
 public:
  CVelaSdkRegistrar();

  // The library's own folder, as UTF-16 and as ANSI text. FALSE when it cannot be found.
  BOOL FillKitRoot(HMODULE hModule);

  // The eight device platforms of the Platform Manager, in order; rows whose key is missing are
  // skipped.
  void EditDevicePlatforms(ListEdit edit);
  // The directories of the desktop platform "Win32 (x86)".
  void EditDesktopPlatform(ListEdit edit);

 private:
  // Where a failed row is reported; nothing is shown to the user.
  void ReportFailure(LPCWSTR pszText);

  WCHAR m_szRootW[1024];
  char m_szRootA[1024];
};

}  // namespace velasdkreg
