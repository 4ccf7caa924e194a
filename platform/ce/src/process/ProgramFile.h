// Where a program named by a terminal path lives on the host.
#pragma once

#include <winerror.h>

#include <string>
#include <string_view>

namespace vela::process {

// The host file of the program name, or the platform's error: a path is taken as given
// (".exe" added when it has no extension); a bare name is looked for in \Windows. Where the
// terminal's \Windows lacks a program, the simulator's stand-in of that name is used
// (CTLPNL.EXE, Contrast.exe, Lirent.exe). ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED (a folder, or not executable), ERROR_BAD_EXE_FORMAT (not a program).
DWORD LocateProgram(std::u16string_view name, std::string& hostPath);

// The host folder of the simulator's stand-in programs.
std::string StandInProgramFolder();

}  // namespace vela::process
