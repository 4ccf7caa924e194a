// Icons: a colour image and an AND mask, drawn as (screen AND mask) XOR image.
#include <algorithm>
#include <vector>

#include "gdi/Dc.h"
#include "gdi/IconRecords.h"
#include "gdi/Raster.h"
#include "gdi/SysColors.h"

using namespace vela::gdi;

namespace {

constexpr int kDefaultIconSize = 32;  // SM_CXICON / SM_CYICON of the terminal
constexpr std::uint32_t kWhite = 0xFFFFFF;

IconObject* IconOf(HICON h) { return LookupAs<IconObject>(h, kObjIcon); }

HBITMAP BitmapFrom(const std::vector<std::uint32_t>& pixels, int width, int height, bool mono) {
  HBITMAP h = CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
  if (!h) return nullptr;
  auto* b = LookupAs<BitmapObject>(h, OBJ_BITMAP);
  for (int y = 0; y < height; ++y) b->surface.WriteSpan(y, 0, width, pixels.data() + static_cast<size_t>(y) * width);
  return h;
}

// (d & and) ^ xor, or one half of it, over n pixels.
// The spans never overlap: restrict lets the compiler vectorise the loops.
void ComposeSpan(std::uint32_t* __restrict d, const std::uint32_t* __restrict andMask,
                 const std::uint32_t* __restrict image, int n, UINT flags) {
  switch (flags & DI_NORMAL) {
    case DI_NORMAL:
      for (int i = 0; i < n; ++i) d[i] = (d[i] & andMask[i]) ^ image[i];
      break;
    case DI_MASK:
      for (int i = 0; i < n; ++i) d[i] &= andMask[i];
      break;
    case DI_IMAGE:
      std::copy_n(image, n, d);
      break;
    default:
      break;
  }
}

}  // namespace

HICON CreateIconIndirect(PICONINFO info) {
  if (!info) return Fail(ERROR_INVALID_PARAMETER, HICON{nullptr});
  GdiLock lock(GdiMutex());
  auto* mask = LookupAs<BitmapObject>(info->hbmMask, OBJ_BITMAP);
  auto* color = info->hbmColor ? LookupAs<BitmapObject>(info->hbmColor, OBJ_BITMAP) : nullptr;
  if (!mask || (info->hbmColor && !color)) return Fail(ERROR_INVALID_PARAMETER, HICON{nullptr});
  const Surface& m = mask->surface;
  const int width = m.width;
  const int height = color ? m.height : m.height / 2;
  if (width <= 0 || height <= 0) return Fail(ERROR_INVALID_PARAMETER, HICON{nullptr});
  auto* icon = new IconObject();
  icon->width = width;
  icon->height = height;
  icon->isIcon = info->fIcon;
  icon->hotX = info->fIcon ? static_cast<DWORD>(width / 2) : info->xHotspot;
  icon->hotY = info->fIcon ? static_cast<DWORD>(height / 2) : info->yHotspot;
  icon->hasColor = color != nullptr;
  icon->andMask.resize(static_cast<size_t>(width) * height);
  icon->xorImage.resize(static_cast<size_t>(width) * height);
  std::vector<std::uint32_t> line(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    m.ReadSpan(y, 0, width, line.data());
    for (int x = 0; x < width; ++x) icon->andMask[static_cast<size_t>(y) * width + x] = line[static_cast<size_t>(x)] ? kWhite : 0;
    if (color) {
      const int cw = std::min(width, color->surface.width);
      if (y < color->surface.height) color->surface.ReadSpan(y, 0, cw, icon->xorImage.data() + static_cast<size_t>(y) * width);
    } else {
      m.ReadSpan(y + height, 0, width, line.data());
      for (int x = 0; x < width; ++x) icon->xorImage[static_cast<size_t>(y) * width + x] = line[static_cast<size_t>(x)] ? kWhite : 0;
    }
  }
  Register(icon);
  return HandleOf<HICON>(icon);
}

BOOL GetIconInfo(HICON h, PICONINFO info) {
  GdiLock lock(GdiMutex());
  IconObject* icon = IconOf(h);
  if (!icon) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!info) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  info->fIcon = icon->isIcon;
  info->xHotspot = icon->hotX;
  info->yHotspot = icon->hotY;
  if (icon->hasColor) {
    info->hbmMask = BitmapFrom(icon->andMask, icon->width, icon->height, true);
    info->hbmColor = BitmapFrom(icon->xorImage, icon->width, icon->height, false);
  } else {
    std::vector<std::uint32_t> both = icon->andMask;
    both.insert(both.end(), icon->xorImage.begin(), icon->xorImage.end());
    info->hbmMask = BitmapFrom(both, icon->width, icon->height * 2, true);
    info->hbmColor = nullptr;
  }
  return TRUE;
}

BOOL DestroyIcon(HICON h) {
  GdiLock lock(GdiMutex());
  IconObject* icon = IconOf(h);
  if (!icon) return Fail(ERROR_INVALID_HANDLE, FALSE);
  Destroy(icon);
  return TRUE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON h, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  IconObject* icon = IconOf(h);
  if (!dc || !icon) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!(flags & DI_NORMAL)) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : icon->width;
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : icon->height;
  if (cx < 0 || cy < 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  const LONG left = SurfaceX(dc, x), top = SurfaceY(dc, y);
  const RECT area{left, top, left + cx, top + cy};
  if (flickerFree) {
    // Composed over the brush instead of the screen, as the off-screen path would give.
    BrushObject* brush = BrushForFill(flickerFree);
    if (!brush) return Fail(ERROR_INVALID_HANDLE, FALSE);
    PaintRect(dc, area, ResolveBrush(dc, brush), 0xF0);
  }
  Surface& target = Target(dc);
  const bool scaled = cx != icon->width || cy != icon->height;
  std::vector<int> columns;
  std::vector<std::uint32_t> andRow, imageRow;
  if (scaled) {
    columns.resize(static_cast<size_t>(cx));
    for (int i = 0; i < cx; ++i) columns[static_cast<size_t>(i)] = static_cast<int>((2LL * i + 1) * icon->width / (2LL * cx));
    andRow.resize(static_cast<size_t>(cx));
    imageRow.resize(static_cast<size_t>(cx));
  }
  RECT touched{0, 0, 0, 0};
  for (const RECT& c : EffectiveClip(dc).Rects()) {
    if (c.top >= area.bottom) break;
    const RECT r = IntersectRects(c, area);
    if (EmptyRect(r)) continue;
    const int n = static_cast<int>(r.right - r.left);
    const int skip = static_cast<int>(r.left - left);
    for (LONG sy = r.top; sy < r.bottom; ++sy) {
      const int row = scaled ? static_cast<int>((2LL * (sy - top) + 1) * icon->height / (2LL * cy)) : static_cast<int>(sy - top);
      const std::uint32_t* a = icon->andMask.data() + static_cast<size_t>(row) * icon->width;
      const std::uint32_t* im = icon->xorImage.data() + static_cast<size_t>(row) * icon->width;
      if (scaled) {
        for (int i = 0; i < n; ++i) {
          const int col = columns[static_cast<size_t>(skip + i)];
          andRow[static_cast<size_t>(i)] = a[col];
          imageRow[static_cast<size_t>(i)] = im[col];
        }
        a = andRow.data();
        im = imageRow.data();
      } else {
        a += skip;
        im += skip;
      }
      if (target.IsDirect32()) {
        ComposeSpan(target.Row32(static_cast<int>(sy)) + r.left, a, im, n, flags);
      } else {
        SpanAccess span(target, static_cast<int>(sy), static_cast<int>(r.left), n);
        ComposeSpan(span.data(), a, im, n, flags);
      }
    }
    touched = EmptyRect(touched) ? r
                                 : RECT{std::min(touched.left, r.left), std::min(touched.top, r.top),
                                        std::max(touched.right, r.right), std::max(touched.bottom, r.bottom)};
  }
  if (!EmptyRect(touched)) Drew(dc, touched);
  // Also when clipped away: the window asked for this icon.
  if (dc->window) RecordIconDrawn(dc->window, icon->resourceId);
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON h) {
  return DrawIconEx(hdc, x, y, h, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL GetIconSize(HICON h, LPSIZE size) {
  GdiLock lock(GdiMutex());
  IconObject* icon = IconOf(h);
  if (!icon) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!size) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  *size = SIZE{icon->width, icon->height};
  return TRUE;
}
