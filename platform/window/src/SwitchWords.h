// The terminal action words a toggle or cycle key stands for right now, worked out from the
// terminal's state: a recording then holds explicit words ("power off"), never "toggle".
#pragma once

#include <vela/Terminal.h>

#include <string>

#include "WindowCommand.h"

namespace vela::window {

// The storage volume the window's volume key puts in and takes out.
inline constexpr const char* kSwitchedVolume = "Storage Card";

std::string SwitchWords(Switch what, const terminal::State& state, bool suspended);

}  // namespace vela::window
