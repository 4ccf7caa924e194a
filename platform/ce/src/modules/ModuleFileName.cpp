// GetModuleHandle and GetModuleFileName.
#include <libloaderapi.h>

#include <cstring>

#include "modules/AnsiText.h"
#include "modules/ModuleFiles.h"
#include "modules/ModuleRegistry.h"

using namespace vela::modules;

namespace {

// The terminal path of a module, or an empty string with the last error set.
std::u16string ModulePath(HMODULE module) {
  if (!module) {
    module = ExecutableModule();
  }
  if (module == ExecutableModule()) {
    if (std::optional<std::u16string> path = ExecutablePathOverride()) {
      return *path;
    }
  }
  if (std::optional<std::u16string> builtin = BuiltinName(module)) {
    // Built-in modules live in the terminal's ROM, which shows as \Windows.
    return u"\\Windows\\" + *builtin;
  }
  const std::string host = ImageHostPath(module);
  if (host.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return {};
  }
  return TerminalPathOfHostFile(host);
}

}  // namespace

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) {
    return ExecutableModule();
  }
  HMODULE module = nullptr;
  if (*lpModuleName && FindLoadedModule(lpModuleName, &module) == Lookup::Found) {
    return module;
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
  if (!lpModuleName) {
    return ExecutableModule();
  }
  const std::u16string name = AnsiToWide(lpModuleName);
  return GetModuleHandleW(name.c_str());
}

// A buffer too small gets as much as fits, terminated; the result is then nSize and the last
// error ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  if (!lpFilename && nSize > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string path = ModulePath(hModule);
  if (path.empty()) {
    return 0;
  }
  if (nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() < nSize) {
    std::memcpy(lpFilename, path.data(), path.size() * sizeof(WCHAR));
    lpFilename[path.size()] = u'\0';
    return static_cast<DWORD>(path.size());
  }
  std::memcpy(lpFilename, path.data(), (nSize - 1) * sizeof(WCHAR));
  lpFilename[nSize - 1] = u'\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return nSize;
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  if (!lpFilename && nSize > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string path = ModulePath(hModule);
  if (path.empty()) {
    return 0;
  }
  if (nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::string ansi = WideToAnsi(path);
  if (ansi.size() < nSize) {
    std::memcpy(lpFilename, ansi.data(), ansi.size());
    lpFilename[ansi.size()] = '\0';
    return static_cast<DWORD>(ansi.size());
  }
  // Never end inside a two-byte character.
  const size_t kept = AnsiPrefixLength(ansi, nSize - 1);
  std::memcpy(lpFilename, ansi.data(), kept);
  std::memset(lpFilename + kept, 0, nSize - kept);
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return nSize;
}
