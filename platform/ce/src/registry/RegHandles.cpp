#include "registry/RegHandles.h"

#include <vela/RegFile.h>
#include <vela/Registry.h>
#include <vela/Utf.h>

#include <map>
#include <mutex>
#include <unordered_map>

namespace vela::registry {
namespace {

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<uintptr_t, KeyRef> keys;
  // Values are never reused, so a closed handle stays invalid.
  uintptr_t next = 0x10000;
};

HandleTable& Handles() {
  static HandleTable* table = new HandleTable;
  return *table;
}

struct HiveTable {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<RegHive>> hives;
};

HiveTable& Hives() {
  static HiveTable* table = new HiveTable;
  return *table;
}

}  // namespace

std::shared_ptr<RegHive> HiveOf(HKEY root) {
  const std::u16string_view name = regfile::RootKeyName(root);
  if (name.empty()) return nullptr;
  // The folder is looked up on every call, so that a changed VELA_ROOT takes effect at once.
  const std::string path = RegistryFolder() + "/" + Utf16ToUtf8(name) + ".reg";
  HiveTable& table = Hives();
  std::lock_guard lock(table.mutex);
  auto& hive = table.hives[path];
  if (!hive) hive = std::make_shared<RegHive>(path, std::u16string(name));
  return hive;
}

std::optional<KeyRef> ResolveKey(HKEY key) {
  if (auto hive = HiveOf(key)) return KeyRef{std::move(hive), {}, true};
  HandleTable& table = Handles();
  std::lock_guard lock(table.mutex);
  auto it = table.keys.find(reinterpret_cast<uintptr_t>(key));
  if (it == table.keys.end()) return std::nullopt;
  return it->second;
}

HKEY AddKeyHandle(KeyRef ref) {
  HandleTable& table = Handles();
  std::lock_guard lock(table.mutex);
  const uintptr_t value = table.next;
  table.next += 4;
  ref.predefined = false;
  table.keys.emplace(value, std::move(ref));
  return reinterpret_cast<HKEY>(value);
}

bool RemoveKeyHandle(HKEY key) {
  HandleTable& table = Handles();
  std::lock_guard lock(table.mutex);
  return table.keys.erase(reinterpret_cast<uintptr_t>(key)) != 0;
}

}  // namespace vela::registry

namespace vela {

void ForgetRegistryCacheForTests() {
  registry::HiveTable& table = registry::Hives();
  std::lock_guard lock(table.mutex);
  table.hives.clear();
}

}  // namespace vela
