// Where LoadLibrary finds a module's file on the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vela::modules {

// A name with a separator is a terminal path (".dll" added when it has no extension). A bare
// name is looked for as Name.dll or libName.so beside the executable, in \Windows of the
// terminal and in the kit's library folder, in that order, without regard to case.
std::optional<std::string> LocateModuleFile(std::u16string_view name);

// The host folder of the running executable and of the kit's own library.
std::string ExecutableFolder();
std::string KitLibraryFolder();

}  // namespace vela::modules
