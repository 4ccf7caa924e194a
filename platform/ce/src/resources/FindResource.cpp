// FindResource, LoadResource, SizeofResource and LockResource. Resources stay in the module's
// image, so loading and locking hand out a pointer into it and freeing does nothing.
#include <libloaderapi.h>

#include "resources/ModuleResources.h"

using namespace vela::resources;

namespace {

HRSRC ToHandle(const ResourceEntry* entry) {
  return const_cast<ResourceEntry*>(entry);
}

const ResourceEntry* FromHandle(HMODULE module, HRSRC handle) {
  auto* entry = static_cast<const ResourceEntry*>(handle);
  return IsModuleResource(module, entry) ? entry : nullptr;
}

}  // namespace

HRSRC FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  return ToHandle(FindModuleResource(hModule, IdFromPointer(lpType), IdFromPointer(lpName),
                                     std::nullopt));
}

HRSRC FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
  return ToHandle(FindModuleResource(hModule, IdFromPointer(lpType), IdFromPointer(lpName),
                                     wLanguage));
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) {
  const ResourceEntry* entry = FromHandle(hModule, hResInfo);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<uint8_t*>(entry->data);
}

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  const ResourceEntry* entry = FromHandle(hModule, hResInfo);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return entry->size;
}

LPVOID LockResource(HGLOBAL hResData) { return hResData; }

BOOL FreeResource(HGLOBAL hResData) {
  (void)hResData;
  return FALSE;
}
