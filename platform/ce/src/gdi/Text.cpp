// Fonts as objects, text metrics and the text output functions.
#include "gdi/Text.h"

#include <algorithm>
#include <cstring>

#include "gdi/Dc.h"
#include "gdi/Raster.h"

namespace vela::gdi {

const FontFaceSet& FacesOf(const DcObject* dc) { return FacesFor(dc->state.font->log); }

int TextWidth(const FontFaceSet& faces, std::u16string_view text) {
  int width = 0;
  for (char32_t c : CodePoints(text)) width += faces.GlyphOf(c).advance;
  return width;
}

int DrawLine(DcObject* dc, const FontFaceSet& faces, LONG x, LONG y, const TextLine& line,
             const std::optional<RECT>& clipRect) {
  Surface& target = Target(dc);
  const std::uint32_t ink = PixelFromColorRef(dc->state.textColor);
  const LONG baseline = y + faces.Ascent();
  const Region& clip = EffectiveClip(dc);
  RECT bounds = clipRect ? IntersectRects(clip.Bounds(), *clipRect) : clip.Bounds();
  LONG pen = x;
  LONG underlineX = 0, underlineWidth = 0;
  const LOGFONTW& font = dc->state.font->log;
  for (size_t i = 0; i < line.text.size(); ++i) {
    char32_t c = line.text[i];
    size_t units = 1;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < line.text.size() && line.text[i + 1] >= 0xDC00 && line.text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (line.text[i + 1] - 0xDC00);
      units = 2;
    }
    const Glyph& g = faces.GlyphOf(c);
    const LONG gx = pen + g.left, gy = baseline - g.top;
    const RECT glyphRect{gx, gy, gx + g.width, gy + g.height};
    if (g.width > 0 && clip.Intersects(IntersectRects(glyphRect, bounds))) {
      for (const RECT& cr : clip.Rects()) {
        const RECT r = IntersectRects(IntersectRects(cr, bounds), glyphRect);
        if (EmptyRect(r)) continue;
        for (LONG py = r.top; py < r.bottom; ++py) {
          const std::uint8_t* bits = g.bits.data() + static_cast<size_t>(py - gy) * g.width;
          for (LONG px = r.left; px < r.right; ++px) {
            if (bits[px - gx]) target.Set(static_cast<int>(px), static_cast<int>(py), ink);
          }
        }
      }
    }
    LONG advance = g.advance;
    if (line.dx) {
      advance = line.dx[i];
      if (units == 2) advance += line.dx[i + 1];
    }
    if (static_cast<int>(i) == line.underlineFrom) underlineX = pen, underlineWidth = advance;
    pen += advance;
    i += units - 1;
  }
  const Pattern inkPattern = SolidPattern(ink);
  auto rule = [&](LONG left, LONG row, LONG width) {
    if (width <= 0) return;
    const RECT r = IntersectRects(RECT{left, row, left + width, row + 1}, bounds);
    PaintRect(dc, r, inkPattern, 0xF0);
  };
  const LONG underlineRow = baseline + std::min(1, faces.Descent() - 1);
  if (font.lfUnderline) rule(x, underlineRow, pen - x);
  if (font.lfStrikeOut) rule(x, baseline - faces.Ascent() / 3, pen - x);
  if (underlineWidth > 0) rule(underlineX, underlineRow, underlineWidth);
  Drew(dc, IntersectRects(RECT{x, y, pen, y + faces.Ascent() + faces.Descent()}, bounds));
  return static_cast<int>(pen - x);
}

}  // namespace vela::gdi

using namespace vela::gdi;

namespace {

std::u16string_view View(LPCWSTR text, int count) {
  if (!text) return {};
  if (count < 0) return std::u16string_view(text);
  return std::u16string_view(text, static_cast<size_t>(count));
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW* lf) {
  if (!lf) return Fail(ERROR_INVALID_PARAMETER, HFONT{nullptr});
  auto* f = new FontObject();
  f->log = *lf;
  f->log.lfFaceName[LF_FACESIZE - 1] = 0;
  Register(f);
  return HandleOf<HFONT>(f);
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  for (int i = 0; face && face[i] && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
  return CreateFontIndirectW(&lf);
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW tm) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!tm) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  const FontFaceSet& faces = FacesOf(dc);
  const LOGFONTW& lf = dc->state.font->log;
  *tm = TEXTMETRICW{};
  tm->tmAscent = faces.Ascent();
  tm->tmDescent = faces.Descent();
  tm->tmHeight = tm->tmAscent + tm->tmDescent;
  tm->tmAveCharWidth = faces.HalfWidth();
  tm->tmMaxCharWidth = faces.HalfWidth() * 2;
  tm->tmWeight = faces.Bold() ? FW_BOLD : FW_NORMAL;
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFFFC;
  tm->tmDefaultChar = 0x30FB;
  tm->tmBreakChar = 0x20;
  tm->tmItalic = lf.lfItalic ? 1 : 0;
  tm->tmUnderlined = lf.lfUnderline ? 1 : 0;
  tm->tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  // A clear TMPF_FIXED_PITCH bit means fixed pitch; the faces are monospaced.
  tm->tmPitchAndFamily = FF_MODERN | TMPF_DEVICE;
  tm->tmCharSet = SHIFTJIS_CHARSET;
  return TRUE;
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if ((!text && count > 0) || count < 0 || !size) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  const FontFaceSet& faces = FacesOf(dc);
  int width = 0, fitted = 0;
  bool fits = true;
  for (int i = 0; i < count; ++i) {
    char32_t c = text[i];
    const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    width += faces.GlyphOf(c).advance;
    if (dx) {
      dx[i] = width;
      if (pair) dx[i + 1] = width;
    }
    if (fits && (maxExtent < 0 || width <= maxExtent)) fitted = i + (pair ? 2 : 1);
    else fits = false;
    if (pair) ++i;
  }
  if (fit) *fit = fitted;
  *size = SIZE{width, faces.Ascent() + faces.Descent()};
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  return GetTextExtentExPointW(hdc, text, count, -1, nullptr, nullptr, size);
}

int GetTextFaceW(HDC hdc, int count, LPWSTR face) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, 0);
  const std::u16string_view name(dc->state.font->log.lfFaceName);
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return Fail(ERROR_INVALID_PARAMETER, 0);
  const size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
  std::copy_n(name.data(), n, face);
  face[n] = 0;
  return static_cast<int>(n);
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, FALSE);
  if (!text && count > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  const FontFaceSet& faces = FacesOf(dc);
  const std::u16string_view s = View(text, static_cast<int>(count));
  int width = 0;
  if (dx) {
    for (UINT i = 0; i < count; ++i) width += dx[i];
  } else {
    width = TextWidth(faces, s);
  }
  const int height = faces.Ascent() + faces.Descent();
  const UINT align = dc->state.textAlign;
  if (align & TA_UPDATECP) {
    x = dc->state.position.x;
    y = dc->state.position.y;
  }
  LONG left = x, top = y;
  if ((align & TA_CENTER) == TA_CENTER) left -= width / 2;
  else if (align & TA_RIGHT) left -= width;
  if ((align & TA_BASELINE) == TA_BASELINE) top -= faces.Ascent();
  else if (align & TA_BOTTOM) top -= height;

  std::optional<RECT> clip;
  if (rect) {
    const RECT r = SurfaceRect(dc, NormalizedRect(rect->left, rect->top, rect->right, rect->bottom));
    if (options & ETO_OPAQUE) PaintRect(dc, r, SolidPattern(PixelFromColorRef(dc->state.bkColor)), 0xF0);
    if (options & ETO_CLIPPED) clip = r;
  }
  const LONG sx = SurfaceX(dc, left), sy = SurfaceY(dc, top);
  if (dc->state.bkMode == OPAQUE) {
    RECT cell{sx, sy, sx + width, sy + height};
    if (clip) cell = IntersectRects(cell, *clip);
    PaintRect(dc, cell, SolidPattern(PixelFromColorRef(dc->state.bkColor)), 0xF0);
  }
  DrawLine(dc, faces, sx, sy, TextLine{s, dx, -1}, clip);
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) != TA_CENTER) dc->state.position.x += (align & TA_RIGHT) ? -width : width;
  }
  return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}
