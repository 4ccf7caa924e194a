// LoadLibrary and FreeLibrary: built-in modules first, then shared libraries found on disk.
#include <libloaderapi.h>
#include <vela/Utf.h>
#include <winnls.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <string>

#include "debug/DebugChannel.h"
#include "modules/AnsiText.h"
#include "modules/ModuleRegistry.h"
#include "modules/ModuleSearch.h"
#include "resources/DataFileModules.h"

using namespace vela::modules;

namespace {

bool HasElfMagic(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  char magic[4] = {};
  const bool elf = read(fd, magic, sizeof magic) == 4 && magic[0] == 0x7f && magic[1] == 'E' &&
                   magic[2] == 'L' && magic[3] == 'F';
  close(fd);
  return elf;
}

HMODULE ImageOfHandle(void* dlHandle) {
  link_map* map = nullptr;
  if (dlinfo(dlHandle, RTLD_DI_LINKMAP, &map) != 0 || !map) {
    return nullptr;
  }
  Dl_info info;
  return dladdr(map->l_ld, &info) != 0 ? static_cast<HMODULE>(info.dli_fbase) : nullptr;
}

HMODULE OpenLibrary(std::u16string_view name, bool asDataFile) {
  const bool bare = name.find_first_of(u"\\/") == std::u16string_view::npos;
  HMODULE module = nullptr;
  switch (bare ? AcquireBuiltin(name, &module) : Lookup::Absent) {
    case Lookup::Found:
      return module;
    case Lookup::Hidden:
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    case Lookup::Absent:
      break;
  }
  if (!bare && IsHiddenModule(name)) {
    // A hidden module stays hidden when named by its path.
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const std::optional<std::string> file = LocateModuleFile(name);
  if (!file) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (asDataFile) {
    return vela::resources::OpenDataFileModule(*file);
  }
  // Not under a lock: the library's initialisers may register modules or load others.
  void* dlHandle = dlopen(file->c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dlHandle) {
    const char* why = dlerror();
    vela::debug::WriteDebugChannel("LoadLibrary: " + *file + ": " + (why ? why : "dlopen failed") + "\n");
    SetLastError(HasElfMagic(*file) ? ERROR_MOD_NOT_FOUND : ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  const HMODULE image = ImageOfHandle(dlHandle);
  if (!image) {
    dlclose(dlHandle);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return AddLibraryReference(dlHandle, image);
}

}  // namespace

HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
  if (!lpLibFileName || hFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!*lpLibFileName) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // The other flags change nothing for modules without import tables to resolve.
  return OpenLibrary(lpLibFileName, (dwFlags & LOAD_LIBRARY_AS_DATAFILE) != 0);
}

HMODULE LoadLibraryW(LPCWSTR lpLibFileName) { return LoadLibraryExW(lpLibFileName, nullptr, 0); }

HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
  if (!lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::u16string name = AnsiToWide(lpLibFileName);
  return LoadLibraryExW(name.c_str(), hFile, dwFlags);
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName) { return LoadLibraryExA(lpLibFileName, nullptr, 0); }

BOOL FreeLibrary(HMODULE hLibModule) {
  if (vela::resources::CloseDataFileModule(hLibModule)) {
    return TRUE;
  }
  void* dlHandle = nullptr;
  switch (ReleaseModule(hLibModule, &dlHandle)) {
    case Release::Builtin:
    case Release::NotCounted:
      return TRUE;
    case Release::Library:
      // The last close unloads the library and runs its destructors: outside the lock.
      dlclose(dlHandle);
      return TRUE;
    case Release::Unknown:
      break;
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return FALSE;
}
