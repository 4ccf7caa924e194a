// The simulator around an application: what the program entry starts before the application
// runs and finishes after its message loop, chosen by the environment (the vela-sim command
// sets it):
//   VELA_CLOCK=manual[:YYYY-MM-DDTHH:MM:SS]   the platform clock stands still until advanced
//   VELA_SCRIPT=FILE (VELA_SHOTS, VELA_SCRIPT_ECHO)   a script plays the run headless
//   VELA_FRONTEND=window (VELA_ZOOM, VELA_KEYS, VELA_RECORD)   a desktop window shows the screen
//   VELA_FINAL_SHOT=FILE.png                  the screen is saved when the application ends
// and a control listener lets other shells change this terminal (see vela/SimControl.h).
#pragma once

namespace vela::sim {

// On the application's UI thread, before the application starts. False when the environment
// asks for something that cannot be had (the message is on standard error): the program ends.
bool StartFromEnvironment();

// On the same thread once the message loop has ended: the exit code the program ends with.
int FinishFromEnvironment(int appExitCode);

}  // namespace vela::sim
