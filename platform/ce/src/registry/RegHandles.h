// Key handles: the predefined keys name the hives of the registry in use; every opened key is a
// handle that keeps its hive and the path of its key until RegCloseKey.
#pragma once

#include <winreg.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegHive.h"

namespace vela::registry {

struct KeyRef {
  std::shared_ptr<RegHive> hive;
  std::vector<std::u16string> path;  // names below the hive's root
  bool predefined = false;
};

// The key a handle stands for, or nullopt for a handle that is not (or no longer) open.
std::optional<KeyRef> ResolveKey(HKEY key);

HKEY AddKeyHandle(KeyRef ref);
bool RemoveKeyHandle(HKEY key);

// The hive of a predefined key in the registry in use.
std::shared_ptr<RegHive> HiveOf(HKEY root);

}  // namespace vela::registry
