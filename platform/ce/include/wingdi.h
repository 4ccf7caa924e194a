// The graphics device interface: device contexts, brushes, pens, bitmaps, fonts, text.
#pragma once

#include "windef.h"
