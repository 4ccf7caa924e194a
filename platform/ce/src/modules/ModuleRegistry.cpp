#include "modules/ModuleRegistry.h"

#include <vela/Utf.h>

#include <dlfcn.h>
#include <link.h>

#include <map>
#include <mutex>
#include <set>

#include "modules/ModuleFiles.h"
#include "modules/ModuleName.h"

namespace vela::modules {
namespace {

struct LoadedLibrary {
  void* dlHandle;
  int references;
};

struct Registry {
  std::mutex mutex;
  std::map<std::u16string, std::shared_ptr<BuiltinModule>> builtins;
  std::map<std::u16string, std::shared_ptr<BuiltinModule>> doubles;
  std::set<std::u16string> hidden;
  // Built-ins with references, kept alive by these entries even after RestoreModules.
  std::map<HMODULE, std::shared_ptr<BuiltinModule>> liveBuiltins;
  std::map<HMODULE, LoadedLibrary> libraries;
};

// Built at first use, never destroyed: static initialisers of other modules register
// built-ins, and FreeLibrary may run from their destructors.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

HMODULE HandleOf(const std::shared_ptr<BuiltinModule>& module) { return module.get(); }

struct ImageSearch {
  std::u16string key;
  HMODULE found = nullptr;
};

int MatchImage(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<ImageSearch*>(data);
  if (!info->dlpi_name || !*info->dlpi_name || info->dlpi_phnum == 0) {
    return 0;
  }
  if (ModuleKey(Utf8ToUtf16(info->dlpi_name)) != search->key) {
    return 0;
  }
  Dl_info dl;
  if (dladdr(info->dlpi_phdr, &dl) != 0 && dl.dli_fbase) {
    search->found = static_cast<HMODULE>(dl.dli_fbase);
    return 1;
  }
  return 0;
}

}  // namespace

Lookup AcquireBuiltin(std::u16string_view name, HMODULE* module) {
  Registry& registry = TheRegistry();
  const std::u16string key = ModuleKey(name);
  std::lock_guard lock(registry.mutex);
  if (registry.hidden.count(key)) {
    return Lookup::Hidden;
  }
  std::shared_ptr<BuiltinModule> found;
  if (auto it = registry.doubles.find(key); it != registry.doubles.end()) {
    found = it->second;
  } else if (auto builtin = registry.builtins.find(key); builtin != registry.builtins.end()) {
    found = builtin->second;
  }
  if (!found) {
    return Lookup::Absent;
  }
  ++found->references;
  registry.liveBuiltins[HandleOf(found)] = found;
  *module = HandleOf(found);
  return Lookup::Found;
}

bool IsHiddenModule(std::u16string_view name) {
  Registry& registry = TheRegistry();
  const std::u16string key = ModuleKey(name);
  std::lock_guard lock(registry.mutex);
  return registry.hidden.count(key) != 0;
}

HMODULE AddLibraryReference(void* dlHandle, HMODULE image) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto [it, added] = registry.libraries.try_emplace(image, LoadedLibrary{dlHandle, 0});
  // dlopen gives one handle per image and counts every open itself, so each FreeLibrary
  // closes the same handle once.
  (void)added;
  ++it->second.references;
  return image;
}

Release ReleaseModule(HMODULE module, void** dlHandleToClose) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  *dlHandleToClose = nullptr;
  if (auto it = registry.liveBuiltins.find(module); it != registry.liveBuiltins.end()) {
    if (--it->second->references == 0) {
      registry.liveBuiltins.erase(it);
    }
    return Release::Builtin;
  }
  if (auto it = registry.libraries.find(module); it != registry.libraries.end()) {
    *dlHandleToClose = it->second.dlHandle;
    if (--it->second.references == 0) {
      registry.libraries.erase(it);
    }
    return Release::Library;
  }
  return IsLoadedImage(module) ? Release::NotCounted : Release::Unknown;
}

std::optional<FARPROC> BuiltinExport(HMODULE module, std::string_view exportName) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.liveBuiltins.find(module);
  if (it == registry.liveBuiltins.end()) {
    return std::nullopt;
  }
  auto entry = it->second->exports.find(exportName);
  return entry == it->second->exports.end() ? FARPROC{} : entry->second;
}

std::optional<std::u16string> BuiltinName(HMODULE module) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.liveBuiltins.find(module);
  if (it == registry.liveBuiltins.end()) {
    return std::nullopt;
  }
  return it->second->name;
}

void* LibraryHandle(HMODULE module) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.libraries.find(module);
  return it == registry.libraries.end() ? nullptr : it->second.dlHandle;
}

Lookup FindLoadedModule(std::u16string_view name, HMODULE* module) {
  Registry& registry = TheRegistry();
  const std::u16string key = ModuleKey(name);
  {
    std::lock_guard lock(registry.mutex);
    if (registry.hidden.count(key)) {
      return Lookup::Hidden;
    }
    // A double answers for its name while it is loaded, ahead of the module it replaces.
    const std::shared_ptr<BuiltinModule>* candidates[] = {nullptr, nullptr};
    if (auto it = registry.doubles.find(key); it != registry.doubles.end()) {
      candidates[0] = &it->second;
    }
    if (auto it = registry.builtins.find(key); it != registry.builtins.end()) {
      candidates[1] = &it->second;
    }
    for (const auto* candidate : candidates) {
      if (candidate && (*candidate)->references > 0) {
        *module = HandleOf(*candidate);
        return Lookup::Found;
      }
    }
  }
  ImageSearch search{key};
  dl_iterate_phdr(MatchImage, &search);
  if (search.found) {
    *module = search.found;
    return Lookup::Found;
  }
  if (ModuleKey(Utf8ToUtf16(ExecutableHostPath())) == key) {
    *module = ExecutableModule();
    return Lookup::Found;
  }
  return Lookup::Absent;
}

}  // namespace vela::modules

namespace vela {

void RegisterBuiltinModule(std::u16string_view name, ModuleExports exports) {
  modules::Registry& registry = modules::TheRegistry();
  auto module = std::make_shared<modules::BuiltinModule>();
  module->name = std::u16string(name);
  module->exports = std::move(exports);
  std::lock_guard lock(registry.mutex);
  registry.builtins[modules::ModuleKey(name)] = std::move(module);
}

void HideModule(std::u16string_view name) {
  modules::Registry& registry = modules::TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.hidden.insert(modules::ModuleKey(name));
}

void SubstituteModule(std::u16string_view name, ModuleExports exports) {
  modules::Registry& registry = modules::TheRegistry();
  auto module = std::make_shared<modules::BuiltinModule>();
  const size_t slash = name.find_last_of(u"\\/");
  module->name = std::u16string(slash == std::u16string_view::npos ? name : name.substr(slash + 1));
  module->exports = std::move(exports);
  std::lock_guard lock(registry.mutex);
  const std::u16string key = modules::ModuleKey(name);
  registry.hidden.erase(key);
  registry.doubles[key] = std::move(module);
}

void RestoreModules() {
  modules::Registry& registry = modules::TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.hidden.clear();
  registry.doubles.clear();
}

HMODULE ModuleFromAddress(const void* address) {
  Dl_info info;
  if (!address || dladdr(address, &info) == 0) {
    return nullptr;
  }
  return static_cast<HMODULE>(info.dli_fbase);
}

}  // namespace vela
