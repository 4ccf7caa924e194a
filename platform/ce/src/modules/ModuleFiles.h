// The host files behind module handles, and the terminal paths handed back for them.
#pragma once

#include <libloaderapi.h>

#include <optional>
#include <string>
#include <string_view>

namespace vela::modules {

// The executable's handle: the address its image is loaded at.
HMODULE ExecutableModule();
std::string ExecutableHostPath();

// The path tests set in place of the executable's (SetExecutablePathForTests), if any.
std::optional<std::u16string> ExecutablePathOverride();

// True when module is the base address of an image loaded in the process.
bool IsLoadedImage(HMODULE module);
// The host file of a loaded image, or an empty string.
std::string ImageHostPath(HMODULE module);

std::string AbsoluteHostPath(std::string_view path);

// The terminal path of a host file. A file outside the terminal's root is reached through
// \Host, a symbolic link in the root to the host's "/", so that the path maps back to the
// same file, as Wine's drive Z: does.
std::u16string TerminalPathOfHostFile(const std::string& hostPath);

}  // namespace vela::modules
