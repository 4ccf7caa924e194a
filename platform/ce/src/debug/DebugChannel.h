// The debug output channel chosen by VELA_DEBUG: unset, empty or "off" discards, "stderr"
// writes to standard error, anything else is a host file appended to (created if missing).
// The variable is read once, at the first output.
#pragma once

#include <string_view>

namespace vela::debug {

// Writes text (UTF-8) as one piece: concurrent writers never interleave within a piece.
void WriteDebugChannel(std::string_view text);

// True when output is discarded, so that callers can skip preparing it. Chooses the channel
// if no output has chosen it yet.
bool DebugChannelDiscards();

// Forgets the channel so that the next output reads VELA_DEBUG again. For tests.
void ResetDebugChannelForTests();

}  // namespace vela::debug
