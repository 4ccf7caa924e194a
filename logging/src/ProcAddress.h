// Typed look-up of a module's export.
#pragma once

#include <windows.h>

namespace tarn {

// The platform hands exports back as FARPROC; the generic void(*)() in between tells the
// compiler that the caller knows the export's real type.
template <typename Proc>
Proc ProcAddress(HMODULE module, LPCWSTR name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddressW(module, name)));
}

}  // namespace tarn
