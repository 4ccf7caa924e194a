// The gathering steps of TarnClog_SetBaseInfo. Each falls back silently.
#pragma once

#include <windows.h>

namespace tarn {

// The owner name of the terminal from the registry, or "operator".
void GatherUserName();

// The executable's name and the program identification "<name> <ProductVersion>", or the
// name alone when the executable carries no product version.
void GatherProgramId();

// The terminal's host name from "winsock.dll". Returns false when it could not be had.
bool GatherHostName();

}  // namespace tarn
