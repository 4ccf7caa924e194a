// Programs of the desktop PC (installers, registration tools) run on the same stand-in as the
// terminal's, with the desktop's own registry and folder.
#pragma once

namespace vela {

// From now on the calling process is a desktop program: the predefined registry keys name the
// desktop's hives, "\" stands for the desktop folder (VELA_DESKTOP_ROOT), also for the programs
// it starts, and, unless a script (VELA_SCRIPT) drives the run, message boxes go to standard
// error, since no window shows them to a person.
void EnterDesktopSide();

// Message boxes as one line on standard error ("[caption] text"), answered at once with their
// default button (true), or as modal windows on the screen (false, the default).
void ShowMessageBoxesOnStandardError(bool on);

}  // namespace vela
