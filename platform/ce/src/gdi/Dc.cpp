#include "gdi/Dc.h"

#include <algorithm>

namespace vela::gdi {

Surface& Target(DcObject* dc) {
  if (!dc->memory) return ScreenSurfaceObject();
  return dc->state.bitmap->surface;
}

bool OnScreen(const DcObject* dc) { return !dc->memory; }

const Region& EffectiveClip(DcObject* dc) {
  const std::uint64_t epoch = dc->memory ? 0 : ScreenEpoch();
  if (!dc->clipDirty && dc->clipEpoch == epoch) return dc->clip;
  const Surface& target = Target(dc);
  Region clip(0, 0, target.width, target.height);
  if (!dc->memory) clip.Intersect(dc->visible);
  if (dc->state.clip) {
    Region app = *dc->state.clip;
    app.Offset(dc->origin.x, dc->origin.y);
    clip.Intersect(app);
  }
  dc->clip = std::move(clip);
  dc->clipDirty = false;
  dc->clipEpoch = epoch;
  return dc->clip;
}

RECT SurfaceRect(const DcObject* dc, const RECT& r) {
  return RECT{SurfaceX(dc, r.left), SurfaceY(dc, r.top), SurfaceX(dc, r.right), SurfaceY(dc, r.bottom)};
}

RECT NormalizedRect(LONG left, LONG top, LONG right, LONG bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void Drew(DcObject* dc, const RECT& bounds) {
  if (!OnScreen(dc)) return;
  const RECT cut = IntersectRects(bounds, EffectiveClip(dc).Bounds());
  if (!EmptyRect(cut)) ScreenTouched(cut);
}

void HoldState(const DcState& s) {
  Hold(s.brush);
  Hold(s.pen);
  Hold(s.font);
  Hold(s.bitmap);
}

void ReleaseState(const DcState& s) {
  Release(s.brush);
  Release(s.pen);
  Release(s.font);
  Release(s.bitmap);
}

void SelectDefaults(DcObject* dc) {
  dc->state = DcState{};
  dc->state.brush = StockBrush(WHITE_BRUSH);
  dc->state.pen = StockPen(BLACK_PEN);
  dc->state.font = StockFont(SYSTEM_FONT);
  if (dc->memory) dc->state.bitmap = DefaultMemoryBitmap();
  HoldState(dc->state);
  ClipChanged(dc);
}

void ReleaseAll(DcObject* dc) {
  ReleaseState(dc->state);
  for (const DcState& s : dc->saved) ReleaseState(s);
  // A bitmap stays "selected" into this DC only while its current state holds it.
  if (dc->state.bitmap && dc->state.bitmap->selectedInto == dc) dc->state.bitmap->selectedInto = nullptr;
  for (const DcState& s : dc->saved) {
    if (s.bitmap && s.bitmap->selectedInto == dc) s.bitmap->selectedInto = nullptr;
  }
  dc->saved.clear();
}

}  // namespace vela::gdi
