// Faults tests inject into the built-in socket library "winsock.dll". To make it absent,
// hide the module (vela/Modules.h).
#pragma once

namespace vela {

struct WinsockFaults {
  int startupError = 0;   // WSAStartup returns this when nonzero
  int hostNameError = 0;  // gethostname fails with this when nonzero
};

void SetWinsockFaults(const WinsockFaults& faults);
void ResetWinsockFaults();

}  // namespace vela
