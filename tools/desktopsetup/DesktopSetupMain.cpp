// vela-desktop-setup: prepares the desktop side of the stand-in. It registers the application
// manager stand-in CEAppMgr.exe (beside this program) under the desktop registry's App Paths,
// where the kit's launcher looks for it, and creates the development tools' keys that the kit's
// registration library edits: the eight device platforms and the desktop platform's directories.
// Lists already there are left as they are.
#include <shlwapi.h>
#include <windows.h>
#include <vela/DesktopSide.h>
#include <vela/Registry.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "DevicePlatforms.h"

namespace {

constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";

bool CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) {
    std::fprintf(stderr, "vela-desktop-setup: cannot create %s (error %ld)\n", path.c_str(), static_cast<long>(status));
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool RegisterAppManager() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !PathRemoveFileSpecA(path) || !PathAppendA(path, "CEAppMgr.exe")) {
    std::fputs("vela-desktop-setup: cannot tell where CEAppMgr.exe lies\n", stderr);
    return false;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    std::fputs("vela-desktop-setup: cannot create the App Paths entry\n", stderr);
    return false;
  }
  const LONG status = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                                     static_cast<DWORD>(std::strlen(path) + 1));
  RegCloseKey(key);
  std::printf("App Paths\\CEAppMgr.exe = %s\n", path);
  return status == ERROR_SUCCESS;
}

void UnregisterAppManager() {
  const LONG status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey);
  std::printf("App Paths\\CEAppMgr.exe %s\n", status == ERROR_SUCCESS ? "removed" : "was not registered");
}

}  // namespace

int main(int argc, char** argv) {
  const bool withoutAppManager = argc == 2 && std::strcmp(argv[1], "--without-appmgr") == 0;
  if (argc > 2 || (argc == 2 && !withoutAppManager)) {
    std::fputs("usage: vela-desktop-setup [--without-appmgr]\n"
               "Writes the desktop registry (VELA_DESKTOP_ROOT): the application manager's App Paths entry\n"
               "(or, with --without-appmgr, removes it) and the development tools' directory keys.\n",
               stderr);
    return 2;
  }
  vela::EnterDesktopSide();
  bool ok = true;
  if (withoutAppManager) {
    UnregisterAppManager();
  } else {
    ok = RegisterAppManager();
  }
  for (const velasdkreg::DevicePlatform& row : velasdkreg::kDevicePlatforms) {
    ok = CreateKey(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(row)) && ok;
  }
  ok = CreateKey(HKEY_CURRENT_USER, velasdkreg::kDesktopDirectories) && ok;
  std::printf("desktop registry: %s\n", vela::RegistryFolder().c_str());
  return ok ? 0 : 1;
}
