// What the drawing functions share about a DC: its target pixels, its clip in surface
// coordinates, coordinate conversion and change notification for the screen.
#pragma once

#include "gdi/GdiObjects.h"

namespace vela::gdi {

// The screen's surface object; its pixels move on Resize, the object does not.
Surface& ScreenSurfaceObject();
// Bumped by Resize so that window DCs rebuild their clip.
std::uint64_t ScreenEpoch();
// A drawing operation changed this surface rectangle of the screen.
void ScreenTouched(const RECT& rect);

Surface& Target(DcObject* dc);
bool OnScreen(const DcObject* dc);
const Region& EffectiveClip(DcObject* dc);
inline void ClipChanged(DcObject* dc) { dc->clipDirty = true; }

// Logical to surface coordinates.
inline LONG SurfaceX(const DcObject* dc, LONG x) { return x + dc->state.viewportOrg.x + dc->origin.x; }
inline LONG SurfaceY(const DcObject* dc, LONG y) { return y + dc->state.viewportOrg.y + dc->origin.y; }
RECT SurfaceRect(const DcObject* dc, const RECT& logical);

// Reports a drawing in surface rectangle `bounds` (cut to the clip) when the DC draws on the screen.
void Drew(DcObject* dc, const RECT& bounds);

// Initial objects of a DC (stock white brush, black pen, system font; 1 x 1 mono bitmap).
void SelectDefaults(DcObject* dc);
// Drops every holding of the DC's current and saved states.
void ReleaseAll(DcObject* dc);
void HoldState(const DcState& state);
void ReleaseState(const DcState& state);

BitmapObject* DefaultMemoryBitmap();
BrushObject* StockBrush(int index);
PenObject* StockPen(int index);
FontObject* StockFont(int index);

// RECT helpers (the window manager's rectangle functions are not ours to use here).
inline bool EmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }
inline RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
         a.bottom < b.bottom ? a.bottom : b.bottom};
  if (EmptyRect(r)) r = RECT{0, 0, 0, 0};
  return r;
}
RECT NormalizedRect(LONG left, LONG top, LONG right, LONG bottom);

}  // namespace vela::gdi
