// The host's network interfaces as the simulated terminal's adapters, for a person who wants
// the simulator to show the machine's real network.
#pragma once

#include <vela/Terminal.h>

#include <vector>

namespace vela::terminal {

// One adapter per host interface with an IPv4 address, in the host's order: loopback as type
// 24, radios (those the host lists as wireless) as 71 with their signal level, others as 6.
std::vector<Adapter> HostAdapters();

}  // namespace vela::terminal
