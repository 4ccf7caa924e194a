// Settings that identify the simulated terminal on the network. The host name is what the
// socket library's gethostname reports; by default it is the host machine's name.
#pragma once

#include <string>

namespace vela {

std::u16string TerminalHostName();
void SetTerminalHostName(std::u16string name);
// Back to the host machine's name.
void ResetTerminalHostName();

}  // namespace vela
