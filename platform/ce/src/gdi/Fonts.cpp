#include "gdi/Fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_map>

#include "debug/DebugChannel.h"
#include "nls/Cp932Codec.h"

namespace vela::gdi {
namespace {

constexpr int kSizes[] = {12, 14, 16};

std::string FontDirectory() {
  // VELA_FONT_DIR lets a package carry its own copy of the fonts.
  const char* dir = std::getenv("VELA_FONT_DIR");
  return dir && *dir ? dir : "/usr/share/fonts/X11/misc";
}

std::string UnifontPath() {
  const char* path = std::getenv("VELA_UNIFONT");
  return path && *path ? path : "/usr/share/unifont/unifont.hex";
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return library;
}

// One PCF file; codes are Unicode for the Latin file and the file's own encoding otherwise.
class BitmapFace {
 public:
  explicit BitmapFace(const std::string& path) {
    if (!Library() || FT_New_Face(Library(), path.c_str(), 0, &face_) != 0) {
      face_ = nullptr;
      vela::debug::WriteDebugChannel("gdi: font " + path + " cannot be read\n");
      return;
    }
    if (face_->num_fixed_sizes > 0) FT_Select_Size(face_, 0);
    if (face_->num_charmaps > 0 && !face_->charmap) FT_Set_Charmap(face_, face_->charmaps[0]);
  }
  ~BitmapFace() {
    if (face_) FT_Done_Face(face_);
  }
  BitmapFace(const BitmapFace&) = delete;
  BitmapFace& operator=(const BitmapFace&) = delete;

  bool Loaded() const { return face_ != nullptr; }
  int Ascent() const { return face_ ? static_cast<int>(face_->size->metrics.ascender >> 6) : 0; }
  int Descent() const { return face_ ? static_cast<int>(-(face_->size->metrics.descender >> 6)) : 0; }

  bool Render(std::uint32_t code, Glyph& out) const {
    if (!face_) return false;
    const FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index == 0) return false;
    if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return false;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    out.advance = static_cast<int>(slot->advance.x >> 6);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bitmap.width);
    out.height = static_cast<int>(bitmap.rows);
    out.bits.assign(static_cast<size_t>(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
      const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
      for (int x = 0; x < out.width; ++x) {
        const bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x / 8] >> (7 - x % 8)) & 1 : row[x] >= 128;
        out.bits[static_cast<size_t>(y) * out.width + x] = on ? 1 : 0;
      }
    }
    return true;
  }

 private:
  FT_Face face_ = nullptr;
};

// GNU Unifont's .hex file: "XXXX:" and 32 or 64 hex digits, 8 or 16 pixels wide and 16 high.
class Unifont {
 public:
  static Unifont& Instance() {
    static auto* font = new Unifont();
    return *font;
  }
  bool Render(char32_t c, Glyph& out) {
    if (!loaded_) Load();
    const auto it = offsets_.find(c);
    if (it == offsets_.end()) return false;
    const size_t start = it->second;
    size_t end = text_.find('\n', start);
    if (end == std::string::npos) end = text_.size();
    const std::string_view digits(text_.data() + start, end - start);
    const int width = digits.size() >= 64 ? 16 : 8;
    out.width = width;
    out.height = 16;
    out.advance = width;
    out.left = 0;
    out.top = 14;
    out.bits.assign(static_cast<size_t>(width) * 16, 0);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < width; ++x) {
        const size_t nibbleIndex = static_cast<size_t>(y * width + x) / 4;
        if (nibbleIndex >= digits.size()) return true;
        const char h = digits[nibbleIndex];
        const int nibble = h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10;
        out.bits[static_cast<size_t>(y) * width + x] = (nibble >> (3 - x % 4)) & 1;
      }
    }
    return true;
  }

 private:
  void Load() {
    loaded_ = true;
    std::ifstream in(UnifontPath(), std::ios::binary);
    if (!in) {
      vela::debug::WriteDebugChannel("gdi: " + UnifontPath() + " cannot be read\n");
      return;
    }
    std::ostringstream all;
    all << in.rdbuf();
    text_ = all.str();
    for (size_t line = 0; line < text_.size();) {
      const size_t colon = text_.find(':', line);
      const size_t next = text_.find('\n', line);
      if (colon == std::string::npos) break;
      if (next == std::string::npos || colon < next) {
        const auto code = static_cast<char32_t>(std::strtoul(text_.c_str() + line, nullptr, 16));
        offsets_.emplace(code, colon + 1);
      }
      if (next == std::string::npos) break;
      line = next + 1;
    }
  }
  bool loaded_ = false;
  std::string text_;
  std::unordered_map<char32_t, size_t> offsets_;
};

// JIS X 0208 code (row and cell from 0x21) of a character, through code page 932; 0 if none.
std::uint32_t JisCode(char32_t c) {
  if (c > 0xFFFF) return 0;
  unsigned char sjis[2];
  if (vela::cp932::Encode(static_cast<char16_t>(c), sjis) != 2) return 0;
  unsigned lead = sjis[0], trail = sjis[1];
  lead -= lead >= 0xE0 ? 0xB0 : 0x70;
  lead <<= 1;
  if (trail >= 0x9F) {
    trail -= 0x7E;
  } else {
    --lead;
    trail -= trail >= 0x80 ? 0x20 : 0x1F;
  }
  if (lead < 0x21 || lead > 0x7E || trail < 0x21 || trail > 0x7E) return 0;
  return (lead << 8) | trail;
}

// JIS X 0201 code of the half-width forms and of its two Latin differences; 0 if none.
std::uint32_t Jis0201Code(char32_t c) {
  if (c >= 0xFF61 && c <= 0xFF9F) return c - 0xFF61 + 0xA1;
  if (c == 0x00A5) return 0x5C;  // yen sign
  if (c == 0x203E) return 0x7E;  // overline
  return 0;
}

class ShinonomeSet : public FontFaceSet {
 public:
  ShinonomeSet(int size, bool bold, bool italic) : size_(size), bold_(bold) {
    const std::string dir = FontDirectory() + "/";
    const std::string style = std::string(bold ? "b" : "") + (italic ? "i" : "");
    const std::string latin = size == 12 ? "6x12" : size == 14 ? "7x14" : "8x16";
    latin_ = std::make_unique<BitmapFace>(dir + "shnm" + latin + "a" + style + ".pcf.gz");
    kana_ = std::make_unique<BitmapFace>(dir + "shnm" + latin + "r" + style + ".pcf.gz");
    kanji_ = std::make_unique<BitmapFace>(dir + "shnmk" + std::to_string(size) + style + ".pcf.gz");
    ascent_ = latin_->Loaded() ? latin_->Ascent() : size - size / 6;
    descent_ = latin_->Loaded() ? latin_->Descent() : size / 6;
    halfWidth_ = size / 2;
    Glyph probe;
    if (latin_->Render('0', probe)) halfWidth_ = probe.advance;
  }
  int PixelSize() const override { return size_; }
  int Ascent() const override { return ascent_; }
  int Descent() const override { return descent_; }
  int HalfWidth() const override { return halfWidth_; }
  bool Bold() const override { return bold_; }

  const Glyph& GlyphOf(char32_t c) const override {
    const auto it = cache_.find(c);
    if (it != cache_.end()) return it->second;
    return cache_.emplace(c, Make(c)).first->second;
  }

 private:
  Glyph Make(char32_t c) const {
    Glyph g;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return g;  // controls take no room
    if (c < 0x100 && latin_->Render(c, g)) return g;
    if (const std::uint32_t code = Jis0201Code(c); code && kana_->Render(code, g)) return g;
    if (const std::uint32_t code = JisCode(c); code && kanji_->Render(code, g)) return g;
    if (Unifont::Instance().Render(c, g)) return g;
    return MissingBox(c);
  }

  // A hollow box, half or full width, so that a missing character is seen, not skipped.
  Glyph MissingBox(char32_t c) const {
    Glyph g;
    const bool wide = c >= 0x1100;
    g.width = wide ? halfWidth_ * 2 - 1 : halfWidth_ - 1;
    g.height = ascent_ - 1;
    g.advance = wide ? halfWidth_ * 2 : halfWidth_;
    g.left = 0;
    g.top = ascent_ - 1;
    g.missing = true;
    g.bits.assign(static_cast<size_t>(g.width) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
      for (int x = 0; x < g.width; ++x) {
        if (y == 0 || y == g.height - 1 || x == 0 || x == g.width - 1) g.bits[static_cast<size_t>(y) * g.width + x] = 1;
      }
    }
    return g;
  }

  int size_;
  bool bold_;
  int ascent_ = 0, descent_ = 0, halfWidth_ = 0;
  std::unique_ptr<BitmapFace> latin_, kana_, kanji_;
  mutable std::unordered_map<char32_t, Glyph> cache_;
};

}  // namespace

int PixelSizeFor(LONG lfHeight) {
  const LONG h = lfHeight < 0 ? -lfHeight : lfHeight;
  if (h == 0) return 12;
  int best = kSizes[0];
  for (int size : kSizes) {
    if (std::abs(size - h) < std::abs(best - h)) best = size;
  }
  return best;
}

const FontFaceSet& FacesFor(const LOGFONTW& font) {
  static auto* sets = new std::map<int, std::unique_ptr<ShinonomeSet>>();
  const int size = PixelSizeFor(font.lfHeight);
  const bool bold = font.lfWeight >= FW_SEMIBOLD;
  const bool italic = font.lfItalic != 0;
  const int key = size * 4 + (bold ? 2 : 0) + (italic ? 1 : 0);
  auto& slot = (*sets)[key];
  if (!slot) slot = std::make_unique<ShinonomeSet>(size, bold, italic);
  return *slot;
}

std::vector<char32_t> CodePoints(std::u16string_view text) {
  std::vector<char32_t> out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      out.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace vela::gdi
