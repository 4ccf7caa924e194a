#include "SdkRegistrar.h"

#include <shlwapi.h>

#include <string>

#include "DevicePlatforms.h"

namespace velasdkreg {
namespace {

constexpr DWORD kDeviceLibBytes = 8192;
constexpr DWORD kDeviceIncludeBytesOnRegister = 4096;
constexpr DWORD kDeviceIncludeBytesOnUnregister = 8192;
constexpr DWORD kDesktopBytes = 4096;

// The kit root joined with a subdirectory, or an empty text when it would not fit.
std::u16string KitPathW(LPCWSTR pszRoot, const char* pszSubdir) {
  WCHAR szSubdir[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, pszSubdir, -1, szSubdir, MAX_PATH) == 0) return {};
  WCHAR szPath[MAX_PATH];
  return PathCombineW(szPath, pszRoot, szSubdir) ? std::u16string(szPath) : std::u16string();
}

std::string KitPathA(LPCSTR pszRoot, const char* pszSubdir) {
  char szPath[MAX_PATH];
  return PathCombineA(szPath, pszRoot, pszSubdir) ? std::string(szPath) : std::string();
}

EditResult EditWide(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, const std::u16string& path, ListEdit edit) {
  return path.empty() ? EditResult::Unchanged : EditWideList(hKey, pszValue, maxBytes, path, edit);
}

EditResult EditAnsi(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, const std::string& path, ListEdit edit) {
  return path.empty() ? EditResult::Unchanged : EditAnsiList(hKey, pszValue, maxBytes, path, edit);
}

}  // namespace

CVelaSdkRegistrar::CVelaSdkRegistrar() : m_szRootW{}, m_szRootA{} {}

BOOL CVelaSdkRegistrar::FillKitRoot(HMODULE hModule) {
  const DWORD nW = GetModuleFileNameW(hModule, m_szRootW, 1024);
  const DWORD nA = GetModuleFileNameA(hModule, m_szRootA, 1024);
  // A name cut to the buffer would give a wrong root.
  if (nW == 0 || nW >= 1024 || nA == 0 || nA >= 1024) {
    m_szRootW[0] = 0;
    m_szRootA[0] = 0;
    return FALSE;
  }
  PathRemoveFileSpecW(m_szRootW);
  PathRemoveFileSpecA(m_szRootA);
  return TRUE;
}

void CVelaSdkRegistrar::EditDevicePlatforms(ListEdit edit) {
  const DWORD includeBytes = edit == ListEdit::Add ? kDeviceIncludeBytesOnRegister : kDeviceIncludeBytesOnUnregister;
  const std::u16string include = KitPathW(m_szRootW, "Include");
  for (const DevicePlatform& row : kDevicePlatforms) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DeviceKeyPath(row).c_str(), 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) {
      continue;
    }
    const std::u16string lib = KitPathW(m_szRootW, row.pszLibDir);
    bool bFailed = EditWide(hKey, "Lib Dirs", kDeviceLibBytes, lib, edit) == EditResult::WriteFailed;
    if (!bFailed) bFailed = EditWide(hKey, "Include Dirs", includeBytes, include, edit) == EditResult::WriteFailed;
    RegCloseKey(hKey);
    if (bFailed) ReportFailure(u"Register path failed.");
  }
}

void CVelaSdkRegistrar::EditDesktopPlatform(ListEdit edit) {
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopDirectories, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return;
  if (EditAnsi(hKey, "Library Dirs", kDesktopBytes, KitPathA(m_szRootA, "Lib"), edit) != EditResult::WriteFailed) {
    EditAnsi(hKey, "Include Dirs", kDesktopBytes, KitPathA(m_szRootA, "Include"), edit);
  }
  RegCloseKey(hKey);
}

void CVelaSdkRegistrar::ReportFailure(LPCWSTR pszText) {
  // The debug channel only: registration goes on and reports success, as the tools expect.
  OutputDebugStringW(pszText);
  OutputDebugStringW(u"\n");
}

}  // namespace velasdkreg
