// Placeholder: filled in with the functions of this group.
#pragma once

#include "wintypes.h"
#include "winerror.h"
