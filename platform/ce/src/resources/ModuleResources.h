// The resources of the loaded modules, found through their handles.
#pragma once

#include <libloaderapi.h>

#include <optional>

#include "resources/ResourceDirectory.h"

namespace vela::resources {

// The entry of type and name in module (NULL: the executable). Without a language, the one
// the user interface prefers. Sets the last error and returns nullptr when there is none.
const ResourceEntry* FindModuleResource(HMODULE module, const ResourceId& type,
                                        const ResourceId& name, std::optional<uint16_t> language);

// The entry of type and name compiled from the same script as companion (an icon group's
// images, which every script numbers from 1), in companion's language if it has one; otherwise
// whatever FindModuleResource finds.
const ResourceEntry* FindCompanionResource(HMODULE module, const ResourceEntry* companion, const ResourceId& type,
                                           const ResourceId& name);

// Resources of a module handle that is no loaded image (a data file), and their removal.
void AddModuleDirectories(HMODULE module, std::vector<ResourceDirectory> directories);
void RemoveModuleDirectories(HMODULE module);

// True when entry is one FindModuleResource handed out for module and it is still loaded.
bool IsModuleResource(HMODULE module, const ResourceEntry* entry);

}  // namespace vela::resources
