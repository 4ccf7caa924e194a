// Brushes and pens, and what applies to every GDI object: deleting and describing it.
#include <algorithm>
#include <cstring>

#include "gdi/Dc.h"
#include "gdi/Dib.h"

using namespace vela::gdi;

namespace {

template <class H, class T>
H Publish(T* object) {
  Register(object);
  return HandleOf<H>(object);
}

// The top-left 8 x 8 pixels of a surface, repeated when it is smaller.
void TakePattern(const Surface& s, BrushObject* brush) {
  brush->monoPattern = s.monoDdb;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const std::uint32_t v = s.Get(x % s.width, y % s.height);
      brush->pattern[static_cast<size_t>(y * 8 + x)] = brush->monoPattern ? (v ? 1u : 0u) : v;
    }
  }
}

template <class T>
int CopyOut(const T& value, int cb, LPVOID out) {
  if (!out) return sizeof(T);
  const int n = std::min<int>(cb, sizeof(T));
  if (n <= 0) return 0;
  std::memcpy(out, &value, static_cast<size_t>(n));
  return n;
}

}  // namespace

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* b = new BrushObject();
  b->color = color & 0xFFFFFF;
  return Publish<HBRUSH>(b);
}

HBRUSH CreatePatternBrush(HBITMAP hbmp) {
  GdiLock lock(GdiMutex());
  auto* bitmap = LookupAs<BitmapObject>(hbmp, OBJ_BITMAP);
  if (!bitmap) return Fail(ERROR_INVALID_HANDLE, HBRUSH{nullptr});
  auto* b = new BrushObject();
  b->style = BS_PATTERN;
  TakePattern(bitmap->surface, b);
  return Publish<HBRUSH>(b);
}

HBRUSH CreateDIBPatternBrushPt(const void* packed, UINT usage) {
  const auto* info = static_cast<const BITMAPINFO*>(packed);
  Surface s;
  if (!info || !DibFormat(info, usage, s)) return Fail(ERROR_INVALID_PARAMETER, HBRUSH{nullptr});
  s.bits = const_cast<std::uint8_t*>(reinterpret_cast<const std::uint8_t*>(info)) + info->bmiHeader.biSize +
           DibColorTableBytes(info->bmiHeader);
  auto* b = new BrushObject();
  b->style = BS_DIBPATTERNPT;
  TakePattern(s, b);
  return Publish<HBRUSH>(b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return Fail(ERROR_INVALID_PARAMETER, HBRUSH{nullptr});
  switch (lb->lbStyle) {
    case BS_SOLID:
    case BS_HATCHED:
      return CreateSolidBrush(lb->lbColor);
    case BS_NULL:
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    case BS_DIBPATTERNPT:
      return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), lb->lbColor);
    default:
      return Fail(ERROR_INVALID_PARAMETER, HBRUSH{nullptr});
  }
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return Fail(ERROR_INVALID_PARAMETER, HPEN{nullptr});
  auto* p = new PenObject();
  p->log.lopnStyle = static_cast<UINT>(style);
  // Styled lines are one pixel wide, as on the platform.
  p->log.lopnWidth = POINT{style == PS_SOLID || style == PS_INSIDEFRAME || style == PS_NULL ? std::max(width, 0) : 1, 0};
  p->log.lopnColor = color & 0xFFFFFF;
  return Publish<HPEN>(p);
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) return Fail(ERROR_INVALID_PARAMETER, HPEN{nullptr});
  return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

BOOL DeleteObject(HGDIOBJ h) {
  GdiLock lock(GdiMutex());
  GdiObject* object = Lookup(h);
  if (!object || object->type == OBJ_DC || object->type == OBJ_MEMDC || object->type == kObjIcon) {
    return Fail(ERROR_INVALID_HANDLE, FALSE);
  }
  if (object->stock) return TRUE;
  if (object->selections > 0) return FALSE;
  Destroy(object);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ h) {
  GdiLock lock(GdiMutex());
  GdiObject* object = Lookup(h);
  if (!object || object->type == kObjIcon) return Fail(ERROR_INVALID_HANDLE, DWORD{0});
  return object->type;
}

int GetObjectW(HGDIOBJ h, int cb, LPVOID out) {
  GdiLock lock(GdiMutex());
  GdiObject* object = Lookup(h);
  if (!object) return Fail(ERROR_INVALID_HANDLE, 0);
  switch (object->type) {
    case OBJ_BITMAP: {
      const auto* b = static_cast<BitmapObject*>(object);
      const Surface& s = b->surface;
      DIBSECTION ds{};
      ds.dsBm.bmWidth = s.width;
      ds.dsBm.bmHeight = s.height;
      ds.dsBm.bmPlanes = 1;
      ds.dsBm.bmBitsPixel = static_cast<WORD>(s.bpp);
      if (b->dibSection) {
        ds.dsBm.bmWidthBytes = s.strideBytes;
        ds.dsBm.bmBits = s.bits;
        ds.dsBmih = b->dibHeader;
        std::memcpy(ds.dsBitfields, s.masks, sizeof ds.dsBitfields);
        if (out && cb >= static_cast<int>(sizeof(DIBSECTION))) return CopyOut(ds, cb, out);
      } else {
        ds.dsBm.bmWidthBytes = ((s.width * s.bpp + 15) / 16) * 2;
      }
      return CopyOut(ds.dsBm, cb, out);
    }
    case OBJ_BRUSH: {
      const auto* b = static_cast<BrushObject*>(object);
      LOGBRUSH lb{b->style, b->color, b->hatch};
      if (b->sysColorIndex >= 0) lb.lbColor = GetSysColor(b->sysColorIndex);
      return CopyOut(lb, cb, out);
    }
    case OBJ_PEN:
      return CopyOut(static_cast<PenObject*>(object)->log, cb, out);
    case OBJ_FONT:
      return CopyOut(static_cast<FontObject*>(object)->log, cb, out);
    default:
      return Fail(ERROR_INVALID_HANDLE, 0);
  }
}
