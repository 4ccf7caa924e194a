// The platform API as applications and the kit include it.
#pragma once

#include "wintypes.h"
#include "winerror.h"
#include "winbase.h"
#include "winnls.h"
#include "wincrt.h"
