#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "GdiTestSupport.h"
#include "gdi/Fonts.h"

namespace {

HFONT Font(int height, int weight = FW_NORMAL) {
  return CreateFont(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, u"MS UI Gothic");
}

TEST(GdiText, HeightsMapToTheNearestBitmapSize) {
  DibCanvas canvas(10, 10);
  struct Case {
    int lfHeight;
    int cell;
  };
  for (const Case c : {Case{0, 12}, Case{-12, 12}, Case{12, 12}, Case{-13, 12}, Case{-14, 14}, Case{15, 14},
                       Case{-16, 16}, Case{-30, 16}, Case{9, 12}}) {
    HFONT font = Font(c.lfHeight);
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(canvas.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, c.cell) << c.lfHeight;
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmMaxCharWidth, 2 * tm.tmAveCharWidth);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32(canvas.dc(), u"Ab日本", 4, &size));
    EXPECT_EQ(size.cx, tm.tmAveCharWidth * 6) << "two half-width and two full-width characters";
    EXPECT_EQ(size.cy, tm.tmHeight);
    SelectObject(canvas.dc(), old);
    DeleteObject(font);
  }
}

TEST(GdiText, JapaneseTextHasEveryGlyph) {
  for (int size : {12, 14, 16}) {
    for (LONG weight : {FW_NORMAL, FW_BOLD}) {
      LOGFONTW lf{};
      lf.lfHeight = -size;
      lf.lfWeight = weight;
      const auto& faces = vela::gdi::FacesFor(lf);
      for (const std::u16string text : {u"日本語テキスト", u"ﾊﾝｶｸｶﾀｶﾅ", u"ＡＢＣ", u"ひらがな・カタカナ。", u"ABC abc 123 ¥"}) {
        for (char32_t c : vela::gdi::CodePoints(text)) {
          const auto& glyph = faces.GlyphOf(c);
          EXPECT_FALSE(glyph.missing) << "U+" << std::hex << static_cast<unsigned>(c) << " at " << std::dec << size;
          EXPECT_GT(glyph.advance, 0);
        }
      }
      // Half-width forms take half the room of full-width ones.
      EXPECT_EQ(faces.GlyphOf(U'ﾊ').advance * 2, faces.GlyphOf(U'日').advance);
    }
  }
  LOGFONTW lf{};
  // Something no font has still shows as a box, not as nothing.
  EXPECT_TRUE(vela::gdi::FacesFor(lf).GlyphOf(0x10FFFD).missing);
  EXPECT_GT(vela::gdi::FacesFor(lf).GlyphOf(0x10FFFD).advance, 0);
}

TEST(GdiText, TextOutDrawsInsideItsCellWithTheTextColour) {
  DibCanvas canvas(100, 30);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkMode(canvas.dc(), TRANSPARENT);
  EXPECT_TRUE(TextOut(canvas.dc(), 10, 5, u"日本語", 3));
  const RECT box = canvas.InkBox();
  EXPECT_GE(box.left, 10);
  EXPECT_GE(box.top, 5);
  EXPECT_LE(box.right, 10 + 36);
  EXPECT_LE(box.bottom, 5 + 12);
  EXPECT_GT(box.right - box.left, 24) << "three kanji reach over most of their cells";
  bool red = false;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) red |= canvas.At(x, y) == 0xFF0000;
  EXPECT_TRUE(red);

  // Opaque mode fills the whole cell with the background colour.
  DibCanvas opaque(100, 30);
  SetBkColor(opaque.dc(), RGB(0, 0, 255));
  TextOut(opaque.dc(), 10, 5, u"ab", 2);
  EXPECT_EQ(Str(opaque.InkBox()), "{10,5,22,17}");

  // Right and bottom alignment measure from the point given.
  DibCanvas aligned(100, 30);
  SetBkColor(aligned.dc(), RGB(0, 0, 255));
  SetTextAlign(aligned.dc(), TA_RIGHT | TA_BOTTOM);
  TextOut(aligned.dc(), 50, 20, u"ab", 2);
  EXPECT_EQ(Str(aligned.InkBox()), "{38,8,50,20}");
}

TEST(GdiText, ExtTextOutOpaqueAndClippedRectangles) {
  DibCanvas canvas(60, 20);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  SetBkMode(canvas.dc(), TRANSPARENT);
  RECT r{0, 0, 20, 16};
  EXPECT_TRUE(ExtTextOut(canvas.dc(), 2, 2, ETO_OPAQUE | ETO_CLIPPED, &r, u"WWWWWWWW", 8, nullptr));
  EXPECT_EQ(Str(canvas.InkBox()), "{0,0,20,16}");
  EXPECT_EQ(canvas.At(0, 0), 0x0000FFu);
}

TEST(GdiText, DrawTextAlignsInsideTheRectangle) {
  DibCanvas canvas(120, 60);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));  // opaque cells make the text's box exact
  RECT r{10, 10, 110, 50};
  RECT calc = r;
  EXPECT_EQ(DrawText(canvas.dc(), u"abcd", -1, &calc, DT_CALCRECT | DT_SINGLELINE), 12);
  EXPECT_EQ(Str(calc), "{10,10,34,22}");
  EXPECT_EQ(Str(canvas.InkBox()), "{0,0,0,0}") << "DT_CALCRECT draws nothing";

  EXPECT_EQ(DrawText(canvas.dc(), u"abcd", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 26)
      << "from the top of the rectangle to the bottom of the text";
  EXPECT_EQ(Str(canvas.InkBox()), "{48,24,72,36}");

  DibCanvas right(120, 60);
  SetBkColor(right.dc(), RGB(0, 0, 255));
  DrawText(right.dc(), u"abcd", 4, &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  EXPECT_EQ(Str(right.InkBox()), "{86,38,110,50}");

  DibCanvas lines(120, 60);
  SetBkColor(lines.dc(), RGB(0, 0, 255));
  EXPECT_EQ(DrawText(lines.dc(), u"ab\r\nabcd", -1, &r, DT_LEFT), 24);
  EXPECT_EQ(Str(lines.InkBox()), "{10,10,34,34}");
}

TEST(GdiText, DrawTextWrapsWordsAndJapanese) {
  DibCanvas canvas(100, 80);
  RECT r{0, 0, 40, 80};  // room for 6 half-width characters
  RECT calc = r;
  EXPECT_EQ(DrawText(canvas.dc(), u"abc def ghij", -1, &calc, DT_WORDBREAK | DT_CALCRECT), 36);
  EXPECT_EQ(calc.right, 24) << "the widest line is \"abc\" or \"def\" and \"ghij\"";
  calc = r;
  EXPECT_EQ(DrawText(canvas.dc(), u"日本語テキスト", -1, &calc, DT_WORDBREAK | DT_CALCRECT), 36);
  EXPECT_EQ(calc.right, 36);
  calc = r;
  EXPECT_EQ(DrawText(canvas.dc(), u"toolongword", -1, &calc, DT_WORDBREAK | DT_CALCRECT), 12);
  EXPECT_EQ(calc.right, 66) << "a word longer than the line stays whole";
}

TEST(GdiText, PrefixesUnderlineAndEllipsesShorten) {
  DibCanvas plain(60, 20), prefixed(60, 20);
  RECT r{0, 0, 60, 20};
  SetBkMode(plain.dc(), TRANSPARENT);
  SetBkMode(prefixed.dc(), TRANSPARENT);
  DrawText(plain.dc(), u"ab", -1, &r, DT_SINGLELINE);
  DrawText(prefixed.dc(), u"&ab", -1, &r, DT_SINGLELINE);
  const RECT a = plain.InkBox(), b = prefixed.InkBox();
  EXPECT_EQ(a.left, b.left);
  EXPECT_GT(b.bottom, a.bottom) << "the underline goes below the letters";
  // Only "a" is underlined: its cell is 6 pixels wide.
  int underline = 0;
  for (int x = 0; x < 60; ++x) underline += prefixed.At(x, b.bottom - 1) != 0xFFFFFF;
  EXPECT_EQ(underline, 6);
  DibCanvas literal(60, 20);
  RECT calc = r;
  DrawText(literal.dc(), u"a&&b", -1, &calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(calc.right, 18) << "&& is one ampersand";
  calc = r;
  DrawText(literal.dc(), u"a&&b", -1, &calc, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(calc.right, 24);

  RECT narrow{0, 0, 30, 20};
  calc = narrow;
  DrawText(literal.dc(), u"abcdefghij", -1, &calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(calc.right, 30);
}

}  // namespace
