// The platform API as applications and the kit include it.
#pragma once

#include "wintypes.h"
#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "synchapi.h"
#include "winnls.h"
#include "wincrt.h"
#include "handleapi.h"
#include "fileapi.h"
#include "processthreadsapi.h"
#include "sysinfoapi.h"
#include "libloaderapi.h"
#include "winver.h"
#include "winreg.h"
#include "wingdi.h"
#include "winuser.h"
