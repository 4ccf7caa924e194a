// Module names as the platform compares them: the last path component, without regard to
// case, with or without ".dll". A host file libName.so answers to the name Name.dll.
#pragma once

#include <string>
#include <string_view>

namespace vela::modules {

// The key two names share when they name the same module: "WINSOCK" for "winsock.dll",
// "\Windows\WinSock.DLL", "winsock" and "libwinsock.so".
std::u16string ModuleKey(std::u16string_view name);

// The file names a module name may have on disk, in order of preference.
std::u16string DllFileName(std::u16string_view name);
std::u16string SharedObjectFileName(std::u16string_view name);

}  // namespace vela::modules
