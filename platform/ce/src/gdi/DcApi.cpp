// Creating, saving and restoring DCs, selecting objects, and the DC's attributes.
#include <utility>

#include "gdi/Dc.h"

namespace vela::gdi {
namespace {

// Runs f on the DC of handle h under the lock, or fails with ERROR_INVALID_HANDLE.
template <class R, class F>
R WithDc(HDC h, R failure, F f) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(h);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, failure);
  return f(dc);
}

template <class T>
HGDIOBJ Swap(T*& slot, T* object) {
  T* old = slot;
  Hold(object);
  slot = object;
  Release(old);
  return HandleOf<HGDIOBJ>(old);
}

HGDIOBJ SelectBitmap(DcObject* dc, BitmapObject* bitmap) {
  if (!dc->memory) return Fail(ERROR_INVALID_PARAMETER, HGDIOBJ{nullptr});
  if (bitmap->selectedInto && bitmap->selectedInto != dc && !bitmap->stock) {
    return Fail(ERROR_INVALID_PARAMETER, HGDIOBJ{nullptr});
  }
  BitmapObject* old = dc->state.bitmap;
  if (old && old->selectedInto == dc) old->selectedInto = nullptr;
  if (!bitmap->stock) bitmap->selectedInto = dc;
  ClipChanged(dc);
  return Swap(dc->state.bitmap, bitmap);
}

}  // namespace
}  // namespace vela::gdi

using namespace vela::gdi;

HDC CreateCompatibleDC(HDC hdc) {
  GdiLock lock(GdiMutex());
  if (hdc && !LookupDc(hdc)) return Fail(ERROR_INVALID_HANDLE, HDC{nullptr});
  auto* dc = new DcObject(true);
  Register(dc);
  SelectDefaults(dc);
  return HandleOf<HDC>(dc);
}

BOOL DeleteDC(HDC hdc) {
  return WithDc(hdc, FALSE, [](DcObject* dc) {
    // DCs of windows go back with ReleaseDC/EndPaint.
    if (!dc->memory) return Fail(ERROR_INVALID_HANDLE, FALSE);
    ReleaseAll(dc);
    Destroy(dc);
    return TRUE;
  });
}

int SaveDC(HDC hdc) {
  return WithDc(hdc, 0, [](DcObject* dc) {
    HoldState(dc->state);
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
  });
}

BOOL RestoreDC(HDC hdc, int nSavedDC) {
  return WithDc(hdc, FALSE, [&](DcObject* dc) {
    const int depth = static_cast<int>(dc->saved.size());
    const int level = nSavedDC < 0 ? depth + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > depth) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    DcState restored = dc->saved[static_cast<size_t>(level - 1)];
    // A bitmap selected elsewhere since the save cannot come back.
    if (restored.bitmap && restored.bitmap != dc->state.bitmap && restored.bitmap->selectedInto &&
        restored.bitmap->selectedInto != dc && !restored.bitmap->stock) {
      return Fail(ERROR_INVALID_PARAMETER, FALSE);
    }
    if (dc->state.bitmap && dc->state.bitmap->selectedInto == dc) dc->state.bitmap->selectedInto = nullptr;
    ReleaseState(dc->state);
    for (int i = level; i < depth; ++i) ReleaseState(dc->saved[static_cast<size_t>(i)]);
    // The saved copy's holdings pass on to the current state.
    dc->state = restored;
    dc->saved.resize(static_cast<size_t>(level - 1));
    if (dc->state.bitmap && !dc->state.bitmap->stock) dc->state.bitmap->selectedInto = dc;
    ClipChanged(dc);
    return TRUE;
  });
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  return WithDc(hdc, HGDIOBJ{nullptr}, [&](DcObject* dc) -> HGDIOBJ {
    GdiObject* object = Lookup(h);
    if (!object) return Fail(ERROR_INVALID_HANDLE, HGDIOBJ{nullptr});
    switch (object->type) {
      case OBJ_BRUSH:
        return Swap(dc->state.brush, static_cast<BrushObject*>(object));
      case OBJ_PEN:
        return Swap(dc->state.pen, static_cast<PenObject*>(object));
      case OBJ_FONT:
        return Swap(dc->state.font, static_cast<FontObject*>(object));
      case OBJ_BITMAP:
        return SelectBitmap(dc, static_cast<BitmapObject*>(object));
      case OBJ_REGION: {
        const int kind = SelectClipRgn(hdc, static_cast<HRGN>(h));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
      }
      default:
        return Fail(ERROR_INVALID_HANDLE, HGDIOBJ{nullptr});
    }
  });
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT uObjectType) {
  return WithDc(hdc, HGDIOBJ{nullptr}, [&](DcObject* dc) -> HGDIOBJ {
    switch (uObjectType) {
      case OBJ_BRUSH:
        return HandleOf<HGDIOBJ>(dc->state.brush);
      case OBJ_PEN:
        return HandleOf<HGDIOBJ>(dc->state.pen);
      case OBJ_FONT:
        return HandleOf<HGDIOBJ>(dc->state.font);
      case OBJ_BITMAP:
        return HandleOf<HGDIOBJ>(dc->state.bitmap);
      default:
        return Fail(ERROR_INVALID_PARAMETER, HGDIOBJ{nullptr});
    }
  });
}

COLORREF SetTextColor(HDC hdc, COLORREF c) {
  return WithDc(hdc, COLORREF{CLR_INVALID}, [&](DcObject* dc) { return std::exchange(dc->state.textColor, c & 0xFFFFFF); });
}
COLORREF GetTextColor(HDC hdc) {
  return WithDc(hdc, COLORREF{CLR_INVALID}, [](DcObject* dc) { return dc->state.textColor; });
}
COLORREF SetBkColor(HDC hdc, COLORREF c) {
  return WithDc(hdc, COLORREF{CLR_INVALID}, [&](DcObject* dc) { return std::exchange(dc->state.bkColor, c & 0xFFFFFF); });
}
COLORREF GetBkColor(HDC hdc) {
  return WithDc(hdc, COLORREF{CLR_INVALID}, [](DcObject* dc) { return dc->state.bkColor; });
}

int SetBkMode(HDC hdc, int mode) {
  return WithDc(hdc, 0, [&](DcObject* dc) {
    if (mode != TRANSPARENT && mode != OPAQUE) return Fail(ERROR_INVALID_PARAMETER, 0);
    return std::exchange(dc->state.bkMode, mode);
  });
}
int GetBkMode(HDC hdc) {
  return WithDc(hdc, 0, [](DcObject* dc) { return dc->state.bkMode; });
}

int SetROP2(HDC hdc, int mode) {
  return WithDc(hdc, 0, [&](DcObject* dc) {
    if (mode < R2_BLACK || mode > R2_WHITE) return Fail(ERROR_INVALID_PARAMETER, 0);
    return std::exchange(dc->state.rop2, mode);
  });
}
int GetROP2(HDC hdc) {
  return WithDc(hdc, 0, [](DcObject* dc) { return dc->state.rop2; });
}

UINT SetTextAlign(HDC hdc, UINT mode) {
  return WithDc(hdc, UINT{GDI_ERROR}, [&](DcObject* dc) { return std::exchange(dc->state.textAlign, mode & TA_MASK); });
}
UINT GetTextAlign(HDC hdc) {
  return WithDc(hdc, UINT{GDI_ERROR}, [](DcObject* dc) { return dc->state.textAlign; });
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  return WithDc(hdc, FALSE, [&](DcObject* dc) {
    if (previous) *previous = dc->state.brushOrg;
    dc->state.brushOrg = POINT{x, y};
    return TRUE;
  });
}
BOOL GetBrushOrgEx(HDC hdc, LPPOINT lppt) {
  return WithDc(hdc, FALSE, [&](DcObject* dc) {
    if (!lppt) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    *lppt = dc->state.brushOrg;
    return TRUE;
  });
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  return WithDc(hdc, FALSE, [&](DcObject* dc) {
    if (previous) *previous = dc->state.viewportOrg;
    dc->state.viewportOrg = POINT{x, y};
    return TRUE;
  });
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
  return WithDc(hdc, FALSE, [&](DcObject* dc) {
    if (!lppt) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    *lppt = dc->state.viewportOrg;
    return TRUE;
  });
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT previous) {
  return WithDc(hdc, FALSE, [&](DcObject* dc) {
    if (previous) *previous = dc->state.viewportOrg;
    dc->state.viewportOrg.x += dx;
    dc->state.viewportOrg.y += dy;
    return TRUE;
  });
}

int GetDeviceCaps(HDC hdc, int index) {
  return WithDc(hdc, 0, [&](DcObject*) {
    const Surface& screen = ScreenSurfaceObject();
    constexpr int kDpi = 96;
    switch (index) {
      case DRIVERVERSION: return 0x0400;
      case TECHNOLOGY: return DT_RASDISPLAY;
      case HORZSIZE: return screen.width * 254 / (kDpi * 10);
      case VERTSIZE: return screen.height * 254 / (kDpi * 10);
      case HORZRES: return screen.width;
      case VERTRES: return screen.height;
      case BITSPIXEL: return 32;
      case PLANES: return 1;
      case NUMBRUSHES: case NUMPENS: case NUMCOLORS: return -1;
      case NUMFONTS: return 0;
      case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
      case ASPECTX: case ASPECTY: return 36;
      case ASPECTXY: return 51;
      case LOGPIXELSX: case LOGPIXELSY: return kDpi;
      case COLORRES: return 24;
      default: return 0;
    }
  });
}
