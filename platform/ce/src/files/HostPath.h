// Small helpers on host paths (UTF-8, "/" separated) shared by the terminal file system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vela::files {

// The absolute form of a host path: relative paths count from the working folder; "." and
// empty components are dropped and ".." removes the component before it.
std::vector<std::string> NormalizedHostComponents(std::string_view hostPath);

std::string JoinHostComponents(const std::vector<std::string>& components);

// Creates the folder and any missing parents. Returns false when one cannot be created.
bool MakeHostFolders(const std::string& path);

}  // namespace vela::files
