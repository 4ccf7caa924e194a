// The four entry points the cabinet installer calls. Only Install_Exit has work to do; the
// removal hooks leave the moved files in \Windows.
#include "VelaSetup.h"

#include <afxwin.h>

#include "SetupFileMover.h"

namespace {

// The library's one object, alive while the installer has it loaded. It is not a CWinApp: the
// class library keeps one application per process, and that is the installer's.
class CVelaSetupApp {
 public:
  CVelaSetupApp() : m_listFiles(10) {}
  // Filled by Install_Exit and never emptied while the library stays loaded.
  CStringList m_listFiles;
};

CVelaSetupApp theApp;

}  // namespace

extern "C" {

codeINSTALL_INIT Install_Init(HWND, BOOL, BOOL, LPCWSTR) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return codeINSTALL_INIT_CONTINUE;
}

codeINSTALL_EXIT Install_Exit(HWND, LPCWSTR pszInstallDir, WORD, WORD, WORD, WORD, WORD) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (pszInstallDir == nullptr) return codeINSTALL_EXIT_DONE;
  velasetup::CollectFileNames(pszInstallDir, theApp.m_listFiles);
  POSITION pos = theApp.m_listFiles.GetHeadPosition();
  while (pos != nullptr) {
    const CString& strName = theApp.m_listFiles.GetNext(pos);
    velasetup::MoveIntoWindows(pszInstallDir, strName);
  }
  // Succeeds only once the folder is empty; subfolders and unmoved files keep it.
  RemoveDirectoryW(pszInstallDir);
  return codeINSTALL_EXIT_DONE;
}

codeUNINSTALL_INIT Uninstall_Init(HWND, LPCWSTR) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return codeUNINSTALL_INIT_CONTINUE;
}

codeUNINSTALL_EXIT Uninstall_Exit(HWND) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return codeUNINSTALL_EXIT_DONE;
}
}
