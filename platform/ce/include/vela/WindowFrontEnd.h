// The desktop window's module (VelaWindow.dll): loaded by the simulator only when a window is
// asked for, so that programs run headless without a display library.
#pragma once

#include <windef.h>

extern "C" {

// Opens the window that shows the screen and feeds the stylus, keys and simulator actions to
// the application whose UI thread is uiThreadId; reads VELA_ZOOM, VELA_KEYS and VELA_RECORD.
// Drives the platform clock in real time. Returns 0, or non-zero after writing why to standard
// error (no display, a bad setting).
typedef int (*VelaWindowStartProc)(DWORD uiThreadId);
int VelaWindowStart(DWORD uiThreadId);

// Closes the window (ending a recording) once the application has ended.
typedef void (*VelaWindowStopProc)(void);
void VelaWindowStop(void);
}
