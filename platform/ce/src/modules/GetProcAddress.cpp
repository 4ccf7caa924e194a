// GetProcAddress: an export of the module itself, found by its undecorated, case-sensitive name.
#include <libloaderapi.h>
#include <vela/Utf.h>
#include <winuser.h>

#include <dlfcn.h>

#include "modules/AnsiText.h"
#include "modules/ModuleFiles.h"
#include "modules/ModuleRegistry.h"

using namespace vela::modules;

namespace {

// dlsym also searches the libraries an image depends on; the platform finds only the
// module's own exports, so a symbol defined elsewhere does not count.
FARPROC OwnSymbol(void* dlHandle, HMODULE module, const std::string& name) {
  void* symbol = dlsym(dlHandle, name.c_str());
  Dl_info info;
  if (!symbol || dladdr(symbol, &info) == 0 || info.dli_fbase != module) {
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

FARPROC ImageExport(HMODULE module, const std::string& name) {
  if (void* dlHandle = LibraryHandle(module)) {
    return OwnSymbol(dlHandle, module, name);
  }
  // An image the process loaded by itself (the executable, a library it links): look it up
  // without changing its reference count.
  void* dlHandle = module == ExecutableModule()
                       ? dlopen(nullptr, RTLD_LAZY)
                       : dlopen(ImageHostPath(module).c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!dlHandle) {
    return nullptr;
  }
  FARPROC proc = OwnSymbol(dlHandle, module, name);
  dlclose(dlHandle);
  return proc;
}

}  // namespace

FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName) {
  if (!lpProcName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!hModule) {
    hModule = ExecutableModule();
  }
  // Exports by ordinal do not exist here.
  const bool byOrdinal = IS_INTRESOURCE(lpProcName);
  const std::string name = byOrdinal ? std::string() : vela::Utf16ToUtf8(lpProcName);
  if (std::optional<FARPROC> builtin = BuiltinExport(hModule, name)) {
    if (*builtin && !byOrdinal) {
      return *builtin;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  if (!IsLoadedImage(hModule)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  FARPROC proc = byOrdinal || name.empty() ? nullptr : ImageExport(hModule, name);
  if (!proc) {
    SetLastError(ERROR_PROC_NOT_FOUND);
  }
  return proc;
}

FARPROC GetProcAddressA(HMODULE hModule, LPCSTR lpProcName) {
  if (!lpProcName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (IS_INTRESOURCE(lpProcName)) {
    return GetProcAddressW(hModule, reinterpret_cast<LPCWSTR>(lpProcName));
  }
  const std::u16string name = AnsiToWide(lpProcName);
  return GetProcAddressW(hModule, name.c_str());
}
