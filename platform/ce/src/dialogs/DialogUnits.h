// Dialog units: a quarter of the font's average character width across, an eighth of its
// height down.
#pragma once

#include <string>

#include "windows.h"

namespace vela::dialogs {

struct BaseUnits {
  int x;
  int y;
};

// Base units of a font (nullptr: the system font), measured as the platform does: the average
// width of the 52 Latin letters, rounded, and the character cell height.
BaseUnits FontBaseUnits(HFONT font);

// dialog units → pixels, rounding half away from zero.
int DluToPixelsX(int dlu, const BaseUnits& units);
int DluToPixelsY(int dlu, const BaseUnits& units);

// The font a template's DS_SETFONT asks for: points at the screen's LOGPIXELSY.
HFONT CreateDialogFont(WORD points, WORD weight, BYTE italic, BYTE charset, const std::u16string& face);

}  // namespace vela::dialogs
