#include "gdi/SysColors.h"

#include <array>

namespace vela::gdi {
namespace {

// The terminal's defaults (COLORREF, so 0x00BBGGRR), in COLOR_ index order.
constexpr std::array<COLORREF, C_SYS_COLOR_TYPES> kDefaults = {
    RGB(192, 192, 192),  // SCROLLBAR
    RGB(0, 128, 128),    // BACKGROUND
    RGB(0, 0, 128),      // ACTIVECAPTION
    RGB(128, 128, 128),  // INACTIVECAPTION
    RGB(192, 192, 192),  // MENU
    RGB(255, 255, 255),  // WINDOW
    RGB(0, 0, 0),        // WINDOWFRAME
    RGB(0, 0, 0),        // MENUTEXT
    RGB(0, 0, 0),        // WINDOWTEXT
    RGB(255, 255, 255),  // CAPTIONTEXT
    RGB(192, 192, 192),  // ACTIVEBORDER
    RGB(192, 192, 192),  // INACTIVEBORDER
    RGB(128, 128, 128),  // APPWORKSPACE
    RGB(0, 0, 128),      // HIGHLIGHT
    RGB(255, 255, 255),  // HIGHLIGHTTEXT
    RGB(192, 192, 192),  // BTNFACE
    RGB(128, 128, 128),  // BTNSHADOW
    RGB(128, 128, 128),  // GRAYTEXT
    RGB(0, 0, 0),        // BTNTEXT
    RGB(192, 192, 192),  // INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // BTNHIGHLIGHT
    RGB(0, 0, 0),        // 3DDKSHADOW
    RGB(192, 192, 192),  // 3DLIGHT
    RGB(0, 0, 0),        // INFOTEXT
    RGB(255, 255, 225),  // INFOBK
    RGB(192, 192, 192),  // STATIC
    RGB(0, 0, 0),        // STATICTEXT
    RGB(166, 202, 240),  // GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // GRADIENTINACTIVECAPTION
};

struct SysColors {
  std::array<COLORREF, C_SYS_COLOR_TYPES> colors = kDefaults;
  std::array<BrushObject*, C_SYS_COLOR_TYPES> brushes{};
  SysColors() {
    for (int i = 0; i < C_SYS_COLOR_TYPES; ++i) {
      auto* b = new BrushObject();
      b->stock = true;
      b->color = colors[static_cast<size_t>(i)];
      b->sysColorIndex = i;
      Register(b);
      brushes[static_cast<size_t>(i)] = b;
    }
  }
};

SysColors& Colors() {
  static auto* colors = new SysColors();
  return *colors;
}

}  // namespace

int SysColorIndex(int index) {
  const int plain = index & ~SYS_COLOR_INDEX_FLAG;
  return plain >= 0 && plain < C_SYS_COLOR_TYPES ? plain : -1;
}

BrushObject* BrushForFill(HBRUSH h) {
  const auto value = reinterpret_cast<uintptr_t>(h);
  const uintptr_t plain = value & ~static_cast<uintptr_t>(SYS_COLOR_INDEX_FLAG);
  if (plain >= 1 && plain <= C_SYS_COLOR_TYPES) {
    GdiLock lock(GdiMutex());
    return Colors().brushes[plain - 1];
  }
  return LookupAs<BrushObject>(h, OBJ_BRUSH);
}

}  // namespace vela::gdi

using namespace vela::gdi;

DWORD GetSysColor(int nIndex) {
  const int i = SysColorIndex(nIndex);
  if (i < 0) return Fail(ERROR_INVALID_PARAMETER, DWORD{0});
  GdiLock lock(GdiMutex());
  return Colors().colors[static_cast<size_t>(i)];
}

HBRUSH GetSysColorBrush(int nIndex) {
  const int i = SysColorIndex(nIndex);
  if (i < 0) return Fail(ERROR_INVALID_PARAMETER, HBRUSH{nullptr});
  GdiLock lock(GdiMutex());
  return HandleOf<HBRUSH>(Colors().brushes[static_cast<size_t>(i)]);
}

BOOL SetSysColors(int cElements, const INT* lpaElements, const COLORREF* lpaRgbValues) {
  if (cElements < 0 || (cElements > 0 && (!lpaElements || !lpaRgbValues))) {
    return Fail(ERROR_INVALID_PARAMETER, FALSE);
  }
  for (int k = 0; k < cElements; ++k) {
    if (SysColorIndex(lpaElements[k]) < 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  }
  GdiLock lock(GdiMutex());
  SysColors& s = Colors();
  for (int k = 0; k < cElements; ++k) {
    const auto i = static_cast<size_t>(SysColorIndex(lpaElements[k]));
    s.colors[i] = lpaRgbValues[k] & 0xFFFFFF;
    s.brushes[i]->color = s.colors[i];
  }
  return TRUE;
}
