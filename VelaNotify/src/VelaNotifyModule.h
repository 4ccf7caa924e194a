// The library's own module handle, under which its icons are compiled in.
#pragma once

#include <windows.h>

HMODULE VelaNotifyModule();
