#include "resources/DataFileModules.h"

#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "resources/ElfSection.h"
#include "resources/ModuleResources.h"
#include "resources/ResourceFormat.h"

namespace vela::resources {
namespace {

struct DataFile {
  std::vector<uint8_t> section;  // the directories point into it
};

std::mutex g_mutex;
std::set<HMODULE> g_open;

}  // namespace

HMODULE OpenDataFileModule(const std::string& hostPath) {
  auto file = std::make_unique<DataFile>();
  DWORD error = ERROR_SUCCESS;
  if (!ReadElfSection(hostPath, rsrc::kSectionName, &file->section, &error) &&
      error != ERROR_RESOURCE_DATA_NOT_FOUND) {
    SetLastError(error == ERROR_BAD_FORMAT ? ERROR_BAD_EXE_FORMAT : error);
    return nullptr;
  }
  const HMODULE module = reinterpret_cast<HMODULE>(reinterpret_cast<uintptr_t>(file.get()) | 1);
  AddModuleDirectories(module, ParseSection(file->section.data(), file->section.size()));
  std::lock_guard lock(g_mutex);
  g_open.insert(module);
  file.release();
  return module;
}

bool CloseDataFileModule(HMODULE module) {
  {
    std::lock_guard lock(g_mutex);
    if (!g_open.erase(module)) {
      return false;
    }
  }
  RemoveModuleDirectories(module);
  delete reinterpret_cast<DataFile*>(reinterpret_cast<uintptr_t>(module) & ~uintptr_t{1});
  return true;
}

}  // namespace vela::resources
