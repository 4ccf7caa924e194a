#include "VelaDeskApp.h"

#include <shellapi.h>
#include <vela/DesktopSide.h>

#include <cstring>

#include "../resource.h"

namespace {

constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
constexpr size_t kParamBytes = 1024;

}  // namespace

CVelaDeskApp::CVelaDeskApp() : m_szAppMgrPath{} {}

BOOL CVelaDeskApp::InitInstance() {
  vela::EnterDesktopSide();
  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileOpen) {
    ShowMessage(IDS_BAD_PARAMETER);
    return FALSE;
  }
  if (!ReadAppManagerPath()) {
    ShowMessage(IDS_APPMGR_NOT_FOUND);
    return FALSE;
  }
  char szParam[kParamBytes];
  if (!QuoteArgument(cmdInfo.m_strFileName, szParam, sizeof szParam)) {
    ShowMessage(IDS_BAD_PARAMETER);
    return FALSE;
  }
  // Whether it starts is the application manager's business; it reports its own problems.
  ShellExecuteA(nullptr, nullptr, m_szAppMgrPath, szParam, nullptr, SW_SHOW);
  return FALSE;
}

BOOL CVelaDeskApp::ReadAppManagerPath() {
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return FALSE;
  DWORD dwType = 0;
  DWORD cbData = sizeof m_szAppMgrPath;
  const LONG status =
      RegQueryValueExA(hKey, nullptr, nullptr, &dwType, reinterpret_cast<LPBYTE>(m_szAppMgrPath), &cbData);
  RegCloseKey(hKey);
  // A value longer than the buffer is refused by the query, never cut; one without its
  // terminator gets it only when there is room.
  if (status != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ)) return FALSE;
  if (cbData == 0 || m_szAppMgrPath[cbData - 1] != 0) {
    if (cbData >= sizeof m_szAppMgrPath) return FALSE;
    m_szAppMgrPath[cbData] = 0;
  }
  return m_szAppMgrPath[0] != 0;
}

BOOL CVelaDeskApp::QuoteArgument(LPCWSTR pszFile, LPSTR pszParam, size_t cbParam) {
  // A character the ANSI code page lacks would name another file.
  BOOL bUsedDefault = FALSE;
  const int cbPath = WideCharToMultiByte(CP_ACP, 0, pszFile, -1, nullptr, 0, nullptr, &bUsedDefault);
  if (cbPath <= 0 || bUsedDefault) return FALSE;
  // Quote, path, quote and terminator; cbPath counts the terminator.
  if (static_cast<size_t>(cbPath) + 2 > cbParam) return FALSE;
  pszParam[0] = '"';
  WideCharToMultiByte(CP_ACP, 0, pszFile, -1, pszParam + 1, cbPath, nullptr, nullptr);
  std::strcat(pszParam, "\"");
  return TRUE;
}

void CVelaDeskApp::ShowMessage(UINT uID) {
  char szText[512];
  LoadStringA(AfxGetResourceHandle(), uID, szText, sizeof szText);
  char szCaption[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, m_pszAppName ? m_pszAppName : u"", -1, szCaption, sizeof szCaption, nullptr,
                      nullptr);
  szCaption[sizeof szCaption - 1] = 0;
  MessageBoxA(nullptr, szText, szCaption, MB_OK | MB_ICONSTOP);
}
