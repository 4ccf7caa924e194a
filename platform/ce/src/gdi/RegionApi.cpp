// Region objects and the clip region of a DC.
#include "gdi/Dc.h"

using namespace vela::gdi;

namespace {

RegionObject* Rgn(HRGN h) { return LookupAs<RegionObject>(h, OBJ_REGION); }

// The clip region of a DC in device coordinates: its own, or everything it may draw on.
Region DeviceClip(DcObject* dc) {
  if (dc->state.clip) return *dc->state.clip;
  Region all = EffectiveClip(dc);
  all.Offset(-dc->origin.x, -dc->origin.y);
  return all;
}

int SetClip(DcObject* dc, Region clip) {
  dc->state.clip = std::move(clip);
  ClipChanged(dc);
  return EffectiveClip(dc).Kind();
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto* r = new RegionObject();
  r->region = Region(NormalizedRect(left, top, right, bottom));
  Register(r);
  return HandleOf<HRGN>(r);
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
  if (!rc) return Fail(ERROR_INVALID_PARAMETER, HRGN{nullptr});
  return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

BOOL SetRectRgn(HRGN h, int left, int top, int right, int bottom) {
  GdiLock lock(GdiMutex());
  RegionObject* r = Rgn(h);
  if (!r) return Fail(ERROR_INVALID_HANDLE, FALSE);
  r->region = Region(NormalizedRect(left, top, right, bottom));
  return TRUE;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  GdiLock lock(GdiMutex());
  RegionObject* d = Rgn(dest);
  RegionObject* a = Rgn(src1);
  RegionObject* b = mode == RGN_COPY ? a : Rgn(src2);
  if (!d || !a || !b) return Fail(ERROR_INVALID_HANDLE, ERROR);
  Region result = a->region;
  switch (mode) {
    case RGN_AND: result.Intersect(b->region); break;
    case RGN_OR: result.Union(b->region); break;
    case RGN_XOR: result.Xor(b->region); break;
    case RGN_DIFF: result.Subtract(b->region); break;
    case RGN_COPY: break;
    default: return Fail(ERROR_INVALID_PARAMETER, ERROR);
  }
  d->region = std::move(result);
  return d->region.Kind();
}

int OffsetRgn(HRGN h, int dx, int dy) {
  GdiLock lock(GdiMutex());
  RegionObject* r = Rgn(h);
  if (!r) return Fail(ERROR_INVALID_HANDLE, ERROR);
  r->region.Offset(dx, dy);
  return r->region.Kind();
}

int GetRgnBox(HRGN h, LPRECT rc) {
  GdiLock lock(GdiMutex());
  RegionObject* r = Rgn(h);
  if (!r || !rc) return Fail(ERROR_INVALID_HANDLE, ERROR);
  *rc = r->region.Bounds();
  return r->region.Kind();
}

BOOL PtInRegion(HRGN h, int x, int y) {
  GdiLock lock(GdiMutex());
  RegionObject* r = Rgn(h);
  if (!r) return Fail(ERROR_INVALID_HANDLE, FALSE);
  return r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN h, const RECT* rc) {
  GdiLock lock(GdiMutex());
  RegionObject* r = Rgn(h);
  if (!r || !rc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  return r->region.Intersects(NormalizedRect(rc->left, rc->top, rc->right, rc->bottom));
}

BOOL EqualRgn(HRGN h1, HRGN h2) {
  GdiLock lock(GdiMutex());
  RegionObject* a = Rgn(h1);
  RegionObject* b = Rgn(h2);
  if (!a || !b) return Fail(ERROR_INVALID_HANDLE, FALSE);
  return a->region == b->region;
}

int SelectClipRgn(HDC hdc, HRGN h) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, ERROR);
  if (!h) {
    dc->state.clip.reset();
    ClipChanged(dc);
    return EffectiveClip(dc).Kind();
  }
  RegionObject* r = Rgn(h);
  if (!r) return Fail(ERROR_INVALID_HANDLE, ERROR);
  // The DC keeps its own copy.
  return SetClip(dc, r->region);
}

int GetClipRgn(HDC hdc, HRGN h) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  RegionObject* r = Rgn(h);
  if (!dc || !r) return Fail(ERROR_INVALID_HANDLE, -1);
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, ERROR);
  const LONG ox = dc->state.viewportOrg.x, oy = dc->state.viewportOrg.y;
  Region clip = DeviceClip(dc);
  clip.Intersect(NormalizedRect(left + ox, top + oy, right + ox, bottom + oy));
  return SetClip(dc, std::move(clip));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, ERROR);
  const LONG ox = dc->state.viewportOrg.x, oy = dc->state.viewportOrg.y;
  Region clip = DeviceClip(dc);
  clip.Subtract(Region(NormalizedRect(left + ox, top + oy, right + ox, bottom + oy)));
  return SetClip(dc, std::move(clip));
}

int GetClipBox(HDC hdc, LPRECT rc) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc || !rc) return Fail(ERROR_INVALID_HANDLE, ERROR);
  const Region& clip = EffectiveClip(dc);
  RECT b = clip.Bounds();
  const LONG dx = dc->origin.x + dc->state.viewportOrg.x, dy = dc->origin.y + dc->state.viewportOrg.y;
  if (!clip.IsEmpty()) b = RECT{b.left - dx, b.top - dy, b.right - dx, b.bottom - dy};
  *rc = b;
  return clip.Kind();
}
