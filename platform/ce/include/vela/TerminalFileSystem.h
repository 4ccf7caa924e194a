// The terminal's file system on the host. VELA_ROOT names the host folder that stands for the
// terminal's root "\"; without it a per-user default folder is used. Every root is given
// \Windows and \Temp when they are missing, as the terminal always has them.
// Both "\" and "/" separate; existing names are matched without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace vela {

// The host folder of the terminal's root, created (with \Windows and \Temp) on first use.
std::string TerminalRoot();

// The host path of a terminal path. Each existing component is matched without regard to case;
// components that do not exist yet keep the spelling given. A relative path counts from the root.
// ".." never climbs above the root.
std::string HostPathFromTerminal(std::u16string_view terminalPath);

// The host path of a terminal path spelled exactly as given, without looking at the disk.
// When that file exists it is also what HostPathFromTerminal gives, so a caller that just
// opens an existing file can try it first and save the look-up.
std::string HostPathAsSpelled(std::u16string_view terminalPath);

// The terminal path (backslash form, starting with "\") of a host path under the root, or an
// empty string when the host path lies outside it.
std::u16string TerminalPathFromHost(std::string_view hostPath);

}  // namespace vela
