// Changes of the terminal's input method (open, conversion mode, sentence mode) reach the
// window with the keyboard focus as WM_IME_NOTIFY, sent, on that window's thread.
#pragma once

#include <vela/Terminal.h>

namespace vela::terminal_events {

void ImeAtStart(const terminal::State& state);

}  // namespace vela::terminal_events
