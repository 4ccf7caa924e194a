// Storage volumes of the terminal: each present volume is the root folder of its name
// ("\Storage Card"), found by FindFirstFile; a removed volume's files wait in
// "\Windows\Removed Volumes\<name>" until it is inserted again, so nothing on it is lost.
// Every arrival and removal is broadcast as WM_DEVICECHANGE to the top-level windows.
#pragma once

#include <vela/Terminal.h>

namespace vela::devicechange {

// The volumes the terminal starts with get their folders (the platform's "started" hook).
void VolumesAtStart(const terminal::State& state);

}  // namespace vela::devicechange
