// Kernel services of the platform used by the kit.
#pragma once

#include "wintypes.h"
#include "winerror.h"

// Debug output. Goes to the channel named by VELA_DEBUG: unset or "off" discards it,
// "stderr" writes to standard error, anything else is a file path to append to (UTF-8).
void OutputDebugStringW(LPCWSTR lpOutputString);
#define OutputDebugString OutputDebugStringW
