// Pictures of the screen or a part of it.
#include <winuser.h>

#include <vela/Screen.h>

#include "gdi/Dc.h"

namespace vela::screen {

Image Capture(const RECT& rect) {
  gdi::GdiLock lock(gdi::GdiMutex());
  const gdi::Surface& s = gdi::ScreenSurfaceObject();
  const RECT r = gdi::IntersectRects(rect, RECT{0, 0, s.width, s.height});
  Image image;
  if (gdi::EmptyRect(r)) return image;
  image.width = static_cast<int>(r.right - r.left);
  image.height = static_cast<int>(r.bottom - r.top);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    s.ReadSpan(static_cast<int>(r.top) + y, static_cast<int>(r.left), image.width,
               image.pixels.data() + static_cast<size_t>(y) * image.width);
  }
  return image;
}

Image CaptureScreen() { return Capture(RECT{0, 0, Width(), Height()}); }

bool SaveScreenPng(const std::string& path) { return SavePng(CaptureScreen(), path); }

bool SaveRectPng(const RECT& rect, const std::string& path) { return SavePng(Capture(rect), path); }

bool SaveWindowPng(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  return SaveRectPng(r, path);
}

}  // namespace vela::screen
