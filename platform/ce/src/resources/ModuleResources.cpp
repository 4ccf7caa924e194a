#include "resources/ModuleResources.h"

#include <vela/ModuleResources.h>
#include <vela/Modules.h>

#include <list>
#include <map>
#include <mutex>
#include <string>

#include "debug/DebugChannel.h"
#include "modules/ModuleFiles.h"

namespace vela::resources {
namespace {

struct Registry {
  std::mutex mutex;
  // Lists keep every directory (and so every entry handed out as an HRSRC) in place.
  std::map<HMODULE, std::list<ResourceDirectory>> modules;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

// Picks among the candidates the best language, or the exact one asked for.
const ResourceEntry* Choose(const std::vector<const ResourceEntry*>& candidates,
                            std::optional<uint16_t> language) {
  const ResourceEntry* best = nullptr;
  for (const ResourceEntry* entry : candidates) {
    if (language) {
      if (entry->language == *language) {
        return entry;
      }
    } else if (!best || LanguagePreference(entry->language) < LanguagePreference(best->language)) {
      best = entry;
    }
  }
  return best;
}

}  // namespace

const ResourceEntry* FindModuleResource(HMODULE module, const ResourceId& type,
                                        const ResourceId& name, std::optional<uint16_t> language) {
  if (!module) {
    module = modules::ExecutableModule();
  }
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.modules.find(module);
  if (it == registry.modules.end()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  bool typeFound = false;
  std::vector<const ResourceEntry*> candidates;
  for (const ResourceDirectory& directory : it->second) {
    for (const ResourceEntry& entry : directory.entries()) {
      if (TypeMatches(entry, type)) {
        typeFound = true;
        if (NameMatches(entry, name)) {
          candidates.push_back(&entry);
        }
      }
    }
  }
  if (const ResourceEntry* entry = Choose(candidates, language)) {
    return entry;
  }
  SetLastError(!typeFound            ? ERROR_RESOURCE_TYPE_NOT_FOUND
               : candidates.empty() ? ERROR_RESOURCE_NAME_NOT_FOUND
                                    : ERROR_RESOURCE_LANG_NOT_FOUND);
  return nullptr;
}

const ResourceEntry* FindCompanionResource(HMODULE module, const ResourceEntry* companion, const ResourceId& type,
                                           const ResourceId& name) {
  {
    const HMODULE key = module ? module : modules::ExecutableModule();
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.modules.find(key);
    if (it != registry.modules.end() && companion) {
      for (const ResourceDirectory& directory : it->second) {
        const auto& entries = directory.entries();
        if (entries.empty() || companion < entries.data() || companion >= entries.data() + entries.size()) {
          continue;
        }
        std::vector<const ResourceEntry*> candidates;
        for (const ResourceEntry& entry : entries) {
          if (TypeMatches(entry, type) && NameMatches(entry, name)) {
            candidates.push_back(&entry);
          }
        }
        const ResourceEntry* same = Choose(candidates, companion->language);
        if (const ResourceEntry* entry = same ? same : Choose(candidates, std::nullopt)) {
          return entry;
        }
      }
    }
  }
  return FindModuleResource(module, type, name, std::nullopt);
}

void AddModuleDirectories(HMODULE module, std::vector<ResourceDirectory> directories) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto& list = registry.modules[module];
  for (ResourceDirectory& directory : directories) {
    list.push_back(std::move(directory));
  }
}

void RemoveModuleDirectories(HMODULE module) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.modules.erase(module);
}

bool IsModuleResource(HMODULE module, const ResourceEntry* entry) {
  if (!module) {
    module = modules::ExecutableModule();
  }
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.modules.find(module);
  if (it == registry.modules.end() || !entry) {
    return false;
  }
  for (const ResourceDirectory& directory : it->second) {
    const auto& entries = directory.entries();
    if (!entries.empty() && entry >= entries.data() && entry < entries.data() + entries.size()) {
      return true;
    }
  }
  return false;
}

}  // namespace vela::resources

namespace vela {

void RegisterModuleResources(const unsigned char* blob, std::size_t size) {
  const HMODULE module = ModuleFromAddress(blob);
  std::optional<resources::ResourceDirectory> directory =
      resources::ResourceDirectory::Parse(blob, size);
  if (!module || !directory) {
    debug::WriteDebugChannel("resources: a module's compiled resources are damaged and not used\n");
    return;
  }
  resources::Registry& registry = resources::TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.modules[module].push_back(std::move(*directory));
}

void UnregisterModuleResources(const unsigned char* blob) {
  resources::Registry& registry = resources::TheRegistry();
  std::lock_guard lock(registry.mutex);
  for (auto it = registry.modules.begin(); it != registry.modules.end(); ++it) {
    it->second.remove_if([blob](const resources::ResourceDirectory& d) { return d.blob() == blob; });
    if (it->second.empty()) {
      registry.modules.erase(it);
      return;
    }
  }
}

}  // namespace vela
