#include "gdi/WindowDc.h"

#include "gdi/Dc.h"

namespace vela::gdi {

HDC CreateWindowDc(HWND owner, POINT origin, const Region& visible) {
  GdiLock lock(GdiMutex());
  auto* dc = new DcObject(false);
  dc->window = owner;
  dc->origin = origin;
  dc->visible = visible;
  Register(dc);
  SelectDefaults(dc);
  return HandleOf<HDC>(dc);
}

bool UpdateWindowDc(HDC h, POINT origin, const Region& visible) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(h);
  if (!dc || dc->memory) return false;
  dc->origin = origin;
  dc->visible = visible;
  ClipChanged(dc);
  return true;
}

bool ReleaseWindowDc(HDC h) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(h);
  if (!dc || dc->memory) return false;
  ReleaseAll(dc);
  Destroy(dc);
  return true;
}

HWND WindowOfDc(HDC h) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(h);
  return dc ? dc->window : nullptr;
}

}  // namespace vela::gdi
