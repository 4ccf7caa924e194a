// Measuring and drawing one line of text with a DC's font and colours.
#pragma once

#include <optional>
#include <string_view>

#include "gdi/Fonts.h"
#include "gdi/GdiObjects.h"

namespace vela::gdi {

const FontFaceSet& FacesOf(const DcObject* dc);

// Advance of each character (code unit positions: a surrogate pair's second unit gets 0).
int TextWidth(const FontFaceSet& faces, std::u16string_view text);

struct TextLine {
  std::u16string_view text;
  const INT* dx = nullptr;   // advances per code unit, or null
  int underlineFrom = -1;    // code unit index of a prefix-underlined character, or -1
};

// Draws the line with its cell's top-left at surface (x, y) in the text colour, with the
// DC's underline/strike-out, clipped also to `clip` (surface) when given. An opaque background
// is the caller's business. Returns the advance.
int DrawLine(DcObject* dc, const FontFaceSet& faces, LONG x, LONG y, const TextLine& line,
             const std::optional<RECT>& clip);

}  // namespace vela::gdi
