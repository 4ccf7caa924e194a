#include <windows.h>

#include <gtest/gtest.h>
#include <vela/Screen.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "GdiTestSupport.h"
#include "GoldenImage.h"
#include "gdi/WindowDc.h"

namespace {

using vela::gdi::Region;

// Every test starts from a black 240 x 320 screen and leaves it that way.
class GdiScreen : public ::testing::Test {
 protected:
  GdiScreen() { vela::screen::Resize(240, 320); }
  ~GdiScreen() override { vela::screen::Resize(240, 320); }
  static std::filesystem::path Temp(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("gdi_" + std::to_string(::getpid()) + "_" + name);
  }
};

TEST_F(GdiScreen, WindowDcDrawsAtItsOriginOnlyInsideTheVisibleRegion) {
  // A window at (20,30) whose top-right corner is covered by a sibling above it.
  Region visible(20, 30, 120, 130);
  visible.Subtract(Region(90, 30, 120, 60));
  HDC dc = vela::gdi::CreateWindowDc(nullptr, POINT{20, 30}, visible);
  ASSERT_NE(dc, nullptr);
  const auto before = vela::screen::FrameCounter();
  RECT changed{};
  const int listener = vela::screen::AddFrameListener([&](const RECT& r) { changed = r; });
  RECT all{-50, -50, 500, 500};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  vela::screen::RemoveFrameListener(listener);
  EXPECT_GT(vela::screen::FrameCounter(), before);
  EXPECT_EQ(Str(changed), "{20,30,120,130}");
  EXPECT_EQ(vela::screen::Pixel(20, 30), 0xFFFFFFu);
  EXPECT_EQ(vela::screen::Pixel(119, 129), 0xFFFFFFu);
  EXPECT_EQ(vela::screen::Pixel(19, 30), 0u);
  EXPECT_EQ(vela::screen::Pixel(100, 40), 0u) << "covered by the sibling";
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(Str(box), "{0,0,100,100}");

  // The window moves while the DC is held.
  vela::gdi::UpdateWindowDc(dc, POINT{0, 0}, Region(0, 0, 10, 10));
  RECT small{0, 0, 5, 5};
  FillRect(dc, &small, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  EXPECT_EQ(vela::screen::Pixel(4, 4), 0x808080u);
  EXPECT_EQ(vela::gdi::WindowOfDc(dc), nullptr);
  EXPECT_FALSE(DeleteDC(dc)) << "window DCs go back through ReleaseDC";
  EXPECT_TRUE(vela::gdi::ReleaseWindowDc(dc));
  EXPECT_FALSE(vela::gdi::ReleaseWindowDc(dc));
}

TEST_F(GdiScreen, PatternBrushOfAWindowDcStartsAtTheWindowOrigin) {
  const WORD rows[8] = {0x007F, 0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x00FF, 0x00FF};  // one clear bit at (0,0)
  HBITMAP mono = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(mono);
  HDC dc = vela::gdi::CreateWindowDc(nullptr, POINT{13, 7}, Region(0, 0, 240, 320));
  RECT r{0, 0, 20, 20};
  FillRect(dc, &r, brush);  // text colour black at the clear bit, background white elsewhere
  EXPECT_EQ(vela::screen::Pixel(13, 7), 0u);
  EXPECT_EQ(vela::screen::Pixel(21, 15), 0u);
  EXPECT_EQ(vela::screen::Pixel(14, 7), 0xFFFFFFu);
  vela::gdi::ReleaseWindowDc(dc);
  DeleteObject(brush);
  DeleteObject(mono);
}

TEST_F(GdiScreen, ResizeChangesTheScreenAndTheDeviceCaps) {
  vela::screen::Resize(480, 640);
  EXPECT_EQ(vela::screen::Width(), 480);
  const auto view = vela::screen::View();
  EXPECT_EQ(view.height, 640);
  EXPECT_GE(view.stride, 480);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 640);
  DeleteDC(dc);
}

TEST_F(GdiScreen, PngRoundTripIsExactAndByteForByteRepeatable) {
  HDC dc = vela::gdi::CreateWindowDc(nullptr, POINT{0, 0}, Region(0, 0, 240, 320));
  for (int i = 0; i < 16; ++i) {
    HBRUSH b = CreateSolidBrush(RGB(i * 16, 255 - i * 16, i * 7));
    RECT r{i * 15, i * 20, i * 15 + 15, i * 20 + 20};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  vela::gdi::ReleaseWindowDc(dc);
  const auto first = Temp("a.png"), second = Temp("b.png");
  ASSERT_TRUE(vela::screen::SaveScreenPng(first.string()));
  ASSERT_TRUE(vela::screen::SaveScreenPng(second.string()));
  const auto image = vela::screen::LoadPng(first.string());
  ASSERT_TRUE(image.has_value());
  const auto screen = vela::screen::CaptureScreen();
  EXPECT_EQ(image->width, 240);
  EXPECT_EQ(image->height, 320);
  EXPECT_TRUE(image->pixels == screen.pixels);
  auto bytes = [](const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(bytes(first), bytes(second));
  ASSERT_TRUE(vela::screen::SaveRectPng(RECT{230, 310, 300, 400}, first.string()));
  EXPECT_EQ(vela::screen::LoadPng(first.string())->width, 10) << "cut to the screen";
  std::filesystem::remove(first);
  std::filesystem::remove(second);
  EXPECT_FALSE(vela::screen::LoadPng(first.string()).has_value());
  EXPECT_FALSE(vela::screen::SavePng(vela::screen::Image{}, first.string()));
}

// The pieces a themed dialog draws, together: edges, text in both scripts, an icon, lines.
TEST_F(GdiScreen, DialogLikePictureMatchesItsGoldenImage) {
  HDC dc = vela::gdi::CreateWindowDc(nullptr, POINT{0, 0}, Region(0, 0, 240, 320));
  RECT all{0, 0, 240, 120};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1)));
  RECT button{10, 10, 110, 40};
  DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_ADJUST);
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, u"&OK 決定", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT field{120, 10, 230, 40};
  DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
  FillRect(dc, &field, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1)));
  HFONT big = CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, u"");
  HGDIOBJ old = SelectObject(dc, big);
  DrawText(dc, u"ﾊﾝｶｸ ＡＢＣ", -1, &field, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(big);
  HPEN pen = CreatePen(PS_DASH, 1, RGB(0, 0, 128));
  old = SelectObject(dc, pen);
  MoveToEx(dc, 10, 50, nullptr);
  LineTo(dc, 230, 50);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Ellipse(dc, 10, 60, 60, 110);
  RoundRect(dc, 70, 60, 130, 110, 16, 16);
  SelectObject(dc, old);
  DeleteObject(pen);
  RECT text{140, 60, 230, 110};
  SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  DrawText(dc, u"日本語テキストを折り返して表示", -1, &text, DT_WORDBREAK);
  vela::gdi::ReleaseWindowDc(dc);
  EXPECT_TRUE(golden::ScreenMatchesGolden(RECT{0, 0, 240, 120}, VELA_TEST_DATA "/../golden", "gdi_dialog"));
}

}  // namespace
