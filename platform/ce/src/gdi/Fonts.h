// The terminal's bitmap fonts: every LOGFONT maps to the Shinonome faces at 12, 14 or 16 pixels
// (Latin and half-width kana from the "a" and "r" files, JIS X 0208 from the "k" files), with
// GNU Unifont for what they lack. Rendering is bit for bit the same on every machine.
#pragma once

#include <wingdi.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace vela::gdi {

struct Glyph {
  int advance = 0;
  int left = 0;    // from the pen position to the first column
  int top = 0;     // rows above the baseline
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;  // one byte per pixel, 0 or 1
  bool missing = false;            // the missing-glyph box: no font has the character
};

class FontFaceSet {
 public:
  virtual ~FontFaceSet() = default;
  virtual int PixelSize() const = 0;
  virtual int Ascent() const = 0;
  virtual int Descent() const = 0;
  virtual int HalfWidth() const = 0;  // advance of a Latin letter
  virtual bool Bold() const = 0;
  // The glyph of a code point: from the first file that has it, else a missing-glyph box.
  // Called under the GDI lock; the reference stays valid for the process's life.
  virtual const Glyph& GlyphOf(char32_t c) const = 0;
};

// The faces a logical font is drawn with.
const FontFaceSet& FacesFor(const LOGFONTW& font);
// The pixel size a logical font height maps to (12, 14 or 16).
int PixelSizeFor(LONG lfHeight);

// UTF-16 to code points (unpaired surrogates pass as they are).
std::vector<char32_t> CodePoints(std::u16string_view text);

}  // namespace vela::gdi
