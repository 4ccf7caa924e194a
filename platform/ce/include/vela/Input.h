// Input for tests, scripts and the simulator's front ends: the stylus and the keys, posted to
// the owning thread's queue as hardware input, and ways to let a UI thread catch up.
//
// The stylus gives WM_LBUTTONDOWN / WM_MOUSEMOVE / WM_LBUTTONUP (client coordinates in lParam,
// MK_LBUTTON while down) to the window under the point, or to the window that has the capture;
// a second tap on a CS_DBLCLKS window within GetDoubleClickTime (platform clock) and a few pixels
// gives WM_LBUTTONDBLCLK instead of WM_LBUTTONDOWN. Keys give WM_KEYDOWN / WM_KEYUP to the focus
// window of the foreground thread (WM_CHAR comes from TranslateMessage).
#pragma once

#include <windows.h>

#include <chrono>
#include <string_view>

namespace vela::input {

void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);
// Down and up at one point.
void Tap(int x, int y);

void KeyDown(UINT virtualKey);
void KeyUp(UINT virtualKey);
// Down and up.
void KeyPress(UINT virtualKey);
// WM_CHAR for each character straight to the focus window (text the keys cannot spell, such as
// kana from the input method).
void TypeText(std::u16string_view text);
// The terminal's flip key: WM_FLIPKEY_INPUT (wParam 0, lParam 0) posted to the foreground
// window; nothing when there is none.
void PressFlipKey();

// For the calling thread: dispatches every posted and sent message, due timer and pending paint
// (with TranslateMessage), then returns true. Returns false, leaving WM_QUIT in the queue, when
// the thread was told to quit.
bool PumpUntilIdle();

// From another thread: waits until the UI thread threadId is blocked in GetMessage or
// WaitMessage with nothing pending. False on time-out (host time; this is for scripts).
bool WaitUntilIdle(DWORD threadId, std::chrono::milliseconds timeout);

}  // namespace vela::input
