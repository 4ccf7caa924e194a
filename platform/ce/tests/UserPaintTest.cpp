// Painting seen on the screen: backgrounds, frames, and the clipping of children and of windows
// above.
#include <windows.h>

#include <gtest/gtest.h>
#include <vela/Input.h>
#include <vela/MessageSpy.h>
#include <vela/Screen.h>

#include <vector>

#include "MessageSequence.h"

using namespace vela::test;

namespace {

std::uint32_t ScreenColour(COLORREF c) {
  return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

LRESULT CALLBACK DefaultProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class UserPaintTest : public ::testing::Test {
 protected:
  static constexpr COLORREF kRed = RGB(255, 0, 0);
  static constexpr COLORREF kBlue = RGB(0, 0, 255);

  void SetUp() override {
    red_ = CreateSolidBrush(kRed);
    blue_ = CreateSolidBrush(kBlue);
    Register(u"UpRed", red_);
    Register(u"UpBlue", blue_);
  }
  void TearDown() override {
    for (HWND h : created_) {
      if (IsWindow(h)) {
        DestroyWindow(h);
      }
    }
    vela::input::PumpUntilIdle();
    UnregisterClassW(u"UpRed", GetModuleHandleW(nullptr));
    UnregisterClassW(u"UpBlue", GetModuleHandleW(nullptr));
    DeleteObject(red_);
    DeleteObject(blue_);
  }
  static void Register(LPCWSTR name, HBRUSH brush) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefaultProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    wc.hbrBackground = brush;
    RegisterClassW(&wc);
  }
  HWND Make(LPCWSTR cls, DWORD style, RECT r, HWND parent = nullptr) {
    HWND h = CreateWindowExW(0, cls, u"Caption", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    created_.push_back(h);
    return h;
  }
  HBRUSH red_ = nullptr;
  HBRUSH blue_ = nullptr;
  std::vector<HWND> created_;
};

TEST_F(UserPaintTest, ParentDoesNotPaintOverItsChildren) {
  HWND parent = Make(u"UpRed", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = Make(u"UpBlue", WS_CHILD | WS_VISIBLE, {10, 10, 30, 30}, parent);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::screen::Pixel(5, 5), ScreenColour(kRed));
  EXPECT_EQ(vela::screen::Pixel(15, 15), ScreenColour(kBlue));

  // Repainting the parent leaves the child alone, and the child gets no WM_PAINT.
  vela::MessageSpy spy;
  spy.Watch(child);
  InvalidateRect(parent, nullptr, TRUE);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::screen::Pixel(15, 15), ScreenColour(kBlue));
  EXPECT_TRUE(spy.Take().empty());

  // What a hidden child uncovered is painted by the parent.
  ShowWindow(child, SW_HIDE);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::screen::Pixel(15, 15), ScreenColour(kRed));

  // A destroyed window leaves the desktop's background.
  DestroyWindow(parent);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::screen::Pixel(5, 5), ScreenColour(GetSysColor(COLOR_BACKGROUND)));
}

TEST_F(UserPaintTest, WindowDcIsClippedByWindowsAbove) {
  HWND below = Make(u"UpRed", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Make(u"UpBlue", WS_POPUP | WS_VISIBLE, {50, 50, 150, 150});
  vela::input::PumpUntilIdle();
  HDC dc = GetDC(below);
  ASSERT_NE(dc, nullptr);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, green);
  EXPECT_EQ(ReleaseDC(below, dc), 1);
  DeleteObject(green);
  EXPECT_EQ(vela::screen::Pixel(10, 10), 0x00FF00u);
  EXPECT_EQ(vela::screen::Pixel(75, 75), ScreenColour(kBlue));

  // BeginPaint outside WM_PAINT draws nowhere: nothing is invalid.
  PAINTSTRUCT ps;
  HDC paint = BeginPaint(below, &ps);
  ASSERT_NE(paint, nullptr);
  EXPECT_TRUE(IsRectEmpty(&ps.rcPaint));
  FillRect(paint, &all, red_);
  EndPaint(below, &ps);
  EXPECT_EQ(vela::screen::Pixel(10, 10), 0x00FF00u);
}

TEST_F(UserPaintTest, CaptionAndBorderAreDrawnByThePlatform) {
  HWND h = Make(u"UpBlue", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {20, 20, 120, 120});
  vela::input::PumpUntilIdle();
  ASSERT_EQ(GetActiveWindow(), h);
  EXPECT_EQ(vela::screen::Pixel(20, 20), ScreenColour(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(vela::screen::Pixel(118, 22), ScreenColour(GetSysColor(COLOR_ACTIVECAPTION)));
  const int clientTop = 21 + GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(vela::screen::Pixel(60, clientTop + 1), ScreenColour(kBlue));
}

}  // namespace
