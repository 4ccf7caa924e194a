// The adapter the network class reports on: the first one in the platform's adapter list
// whose type is one the terminal uses for its network and whose first address is not
// "0.0.0.0". Its address is the terminal's IP address, its name the one asked for the signal.
#pragma once

#include <windows.h>
#include <afx.h>

namespace velasys {

enum class AdapterField { Address, Name };

// The chosen adapter's address or name; empty when the NDIS driver is missing, there is no
// usable adapter, or any query fails.
CString UsableAdapter(AdapterField field);

// Whether an adapter type number reported by GetAdaptersInfo counts as usable.
bool IsUsableAdapterType(UINT type);

}  // namespace velasys
