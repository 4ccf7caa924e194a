// DrawText: lines, word wrapping, alignment, '&' prefixes and end ellipses inside a rectangle.
#include <algorithm>
#include <string>
#include <vector>

#include "gdi/Dc.h"
#include "gdi/Raster.h"
#include "gdi/Text.h"

using namespace vela::gdi;

namespace {

struct Line {
  std::u16string text;
  int underline = -1;  // index of the prefixed character in text
  int width = 0;
};

// Where a line may break: after a space, and before or after a full-width character, as
// Japanese text has no spaces between words.
bool IsWide(char16_t c) { return c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F); }

// Removes '&' prefixes: "&&" is '&', "&x" underlines x; *underline gets x's index.
std::u16string StripPrefixes(std::u16string_view in, int* underline) {
  std::u16string out;
  *underline = -1;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == u'&' && i + 1 < in.size()) {
      ++i;
      if (in[i] != u'&') *underline = static_cast<int>(out.size());
    } else if (in[i] == u'&') {
      continue;  // a trailing prefix with nothing to mark
    }
    out.push_back(in[i]);
  }
  return out;
}

std::u16string ExpandTabs(std::u16string_view in, const FontFaceSet& faces, int tabWidth) {
  std::u16string out;
  int width = 0;
  for (char16_t c : in) {
    if (c == u'\t') {
      const int next = (width / tabWidth + 1) * tabWidth;
      while (width < next) {
        out.push_back(u' ');
        width += faces.GlyphOf(U' ').advance;
      }
      continue;
    }
    out.push_back(c);
    width += faces.GlyphOf(c).advance;
  }
  return out;
}

// Splits a paragraph into lines no wider than `limit` where it can; a single word wider than
// the limit stays whole on its line.
void Wrap(const std::u16string& text, int underline, const FontFaceSet& faces, int limit, std::vector<Line>& out) {
  size_t start = 0;
  while (true) {
    int width = 0;
    size_t lastBreak = std::u16string::npos;  // break after this index
    size_t i = start;
    for (; i < text.size(); ++i) {
      const int advance = faces.GlyphOf(text[i]).advance;
      if (width + advance > limit && i > start && text[i] != u' ') break;
      width += advance;
      if (text[i] == u' ' || IsWide(text[i]) || (i + 1 < text.size() && IsWide(text[i + 1]))) lastBreak = i;
    }
    size_t end = i;
    if (i < text.size() && lastBreak != std::u16string::npos && lastBreak >= start) end = lastBreak + 1;
    if (i < text.size() && (lastBreak == std::u16string::npos || lastBreak < start)) {
      // No break opportunity: run on to the end of the word.
      while (end < text.size() && text[end] != u' ') ++end;
    }
    Line line;
    line.text = text.substr(start, end - start);
    while (!line.text.empty() && line.text.back() == u' ') line.text.pop_back();
    if (underline >= static_cast<int>(start) && underline < static_cast<int>(start + line.text.size())) {
      line.underline = underline - static_cast<int>(start);
    }
    out.push_back(std::move(line));
    start = end;
    while (start < text.size() && text[start] == u' ') ++start;
    if (start >= text.size()) break;
  }
}

void EndEllipsis(Line& line, const FontFaceSet& faces, int limit) {
  if (TextWidth(faces, line.text) <= limit) return;
  const std::u16string dots = u"...";
  const int dotsWidth = TextWidth(faces, dots);
  while (!line.text.empty() && TextWidth(faces, line.text) + dotsWidth > limit) line.text.pop_back();
  if (line.underline >= static_cast<int>(line.text.size())) line.underline = -1;
  line.text += dots;
}

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR string, int count, LPRECT rect, UINT format) {
  GdiLock lock(GdiMutex());
  DcObject* dc = LookupDc(hdc);
  if (!dc) return Fail(ERROR_INVALID_HANDLE, 0);
  if (!rect || (!string && count != 0)) return Fail(ERROR_INVALID_PARAMETER, 0);
  const std::u16string_view all = count < 0 ? std::u16string_view(string) : std::u16string_view(string, static_cast<size_t>(count));
  const FontFaceSet& faces = FacesOf(dc);
  const int lineHeight = faces.Ascent() + faces.Descent();
  const int limit = static_cast<int>(rect->right - rect->left);
  const bool single = format & DT_SINGLELINE;

  // Paragraphs, then lines.
  std::vector<Line> lines;
  size_t start = 0;
  while (true) {
    size_t end = single ? all.size() : all.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) end = all.size();
    std::u16string_view paragraph = all.substr(start, end - start);
    std::u16string text(paragraph);
    if (format & DT_EXPANDTABS) text = ExpandTabs(text, faces, faces.HalfWidth() * 8);
    int underline = -1;
    if (!(format & DT_NOPREFIX)) text = StripPrefixes(text, &underline);
    if (format & DT_HIDEPREFIX) underline = -1;
    if ((format & DT_WORDBREAK) && !single) {
      Wrap(text, underline, faces, limit, lines);
    } else {
      lines.push_back(Line{std::move(text), underline, 0});
    }
    if (end >= all.size()) break;
    start = end + ((all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n') ? 2 : 1);
  }
  int widest = 0;
  for (Line& line : lines) {
    if (format & DT_END_ELLIPSIS) EndEllipsis(line, faces, limit);
    line.width = TextWidth(faces, line.text);
    widest = std::max(widest, line.width);
  }
  const int height = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }

  LONG top = rect->top;
  if (single && (format & DT_VCENTER)) top = rect->top + (rect->bottom - rect->top - height) / 2;
  else if (single && (format & DT_BOTTOM)) top = rect->bottom - height;

  std::optional<RECT> clip;
  if (!(format & DT_NOCLIP)) clip = SurfaceRect(dc, *rect);
  const Pattern back = SolidPattern(PixelFromColorRef(dc->state.bkColor));
  for (size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    LONG left = rect->left;
    if (format & DT_CENTER) left = rect->left + (limit - line.width) / 2;
    else if (format & DT_RIGHT) left = rect->right - line.width;
    const LONG sx = SurfaceX(dc, left), sy = SurfaceY(dc, top + static_cast<LONG>(i) * lineHeight);
    if (dc->state.bkMode == OPAQUE) {
      RECT cell{sx, sy, sx + line.width, sy + lineHeight};
      if (clip) cell = IntersectRects(cell, *clip);
      PaintRect(dc, cell, back, 0xF0);
    }
    DrawLine(dc, faces, sx, sy, TextLine{line.text, nullptr, line.underline}, clip);
  }
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return static_cast<int>(top - rect->top) + height;
  return height;
}
