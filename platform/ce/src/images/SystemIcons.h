// The system's own icons (IDI_APPLICATION ...), which LoadIcon(NULL, ...) hands out.
#pragma once

#include <windows.h>

namespace vela::images {

// NULL with ERROR_RESOURCE_NAME_NOT_FOUND for a name that is no system icon.
HICON LoadSystemIcon(LPCWSTR name, int cx, int cy, UINT flags);

}  // namespace vela::images
