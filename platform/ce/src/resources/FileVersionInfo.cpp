// GetFileVersionInfoSize and GetFileVersionInfo read the version resource of a module's
// file on disk, without loading it.
#include <vela/TerminalFileSystem.h>
#include <winver.h>

#include <algorithm>
#include <cstring>

#include "modules/ModuleSearch.h"
#include "resources/ElfSection.h"
#include "resources/ResourceDirectory.h"
#include "resources/ResourceFormat.h"

namespace {

using vela::resources::ResourceEntry;

// The VS_VERSIONINFO resource of the file, or false with the last error set.
bool ReadVersionResource(LPCWSTR fileName, std::vector<uint8_t>* out) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::u16string_view name(fileName);
  std::optional<std::string> host;
  if (name.find_first_of(u"\\/") != std::u16string_view::npos) {
    host = vela::HostPathFromTerminal(name);
  } else if (!name.empty()) {
    host = vela::modules::LocateModuleFile(name);
  }
  if (!host) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  std::vector<uint8_t> section;
  DWORD error = ERROR_SUCCESS;
  if (!vela::resources::ReadElfSection(*host, vela::rsrc::kSectionName, &section, &error)) {
    SetLastError(error);
    return false;
  }
  const std::vector<vela::resources::ResourceDirectory> directories =
      vela::resources::ParseSection(section.data(), section.size());
  const ResourceEntry* best = nullptr;
  for (const auto& directory : directories) {
    for (const ResourceEntry& entry : directory.entries()) {
      if (entry.type == vela::rsrc::kTypeVersion && entry.name == VS_VERSION_INFO &&
          (!best || vela::resources::LanguagePreference(entry.language) <
                        vela::resources::LanguagePreference(best->language))) {
        best = &entry;
      }
    }
  }
  if (!best) {
    SetLastError(directories.empty() ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return false;
  }
  out->assign(best->data, best->data + best->size);
  return true;
}

}  // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, LPDWORD lpdwHandle) {
  if (lpdwHandle) {
    *lpdwHandle = 0;
  }
  std::vector<uint8_t> resource;
  if (!ReadVersionResource(lptstrFilename, &resource)) {
    return 0;
  }
  return static_cast<DWORD>(resource.size());
}

// A buffer smaller than the resource gets its beginning, with the outer length cut to what
// was copied, so that VerQueryValue never reads beyond the buffer.
BOOL GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData) {
  (void)dwHandle;
  if (!lpData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (dwLen < 6) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::vector<uint8_t> resource;
  if (!ReadVersionResource(lptstrFilename, &resource)) {
    return FALSE;
  }
  const size_t copied = std::min<size_t>(resource.size(), dwLen);
  std::memcpy(lpData, resource.data(), copied);
  uint16_t length;
  std::memcpy(&length, lpData, 2);
  if (length > copied) {
    length = static_cast<uint16_t>(copied);
    std::memcpy(lpData, &length, 2);
  }
  return TRUE;
}
