// Where the registry's hives live. The terminal's are text files in $VELA_ROOT/Registry, one
// per predefined key (HKEY_CURRENT_USER.reg ...); the desktop programs have their own under
// $VELA_DESKTOP_ROOT/Registry.
#pragma once

#include <string>

namespace vela {

enum class RegistrySide { Terminal, Desktop };

// Chooses, for the whole process, whose hives the predefined keys name from now on. Keys
// already open stay with the hive they were opened in. The terminal's is the default.
void SelectRegistry(RegistrySide side);

// The host folder of the hive files in use.
std::string RegistryFolder();

// VELA_DESKTOP_ROOT, or without it a per-user default folder ($XDG_DATA_HOME/vela/desktop).
std::string DesktopRoot();

// Drops every hive held in memory, so that the next access reads the files afresh as a new
// process would. For tests.
void ForgetRegistryCacheForTests();

}  // namespace vela
