// The record of the icon a window last drew: loaded icons remember their resource id, drawing
// into a window's DC records it, and destroying the window forgets it.
#include <vela/Input.h>
#include <vela/Inspect.h>

#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "data/resources/PlatformTestsResource.h"

namespace {

HICON MadeIcon() {
  HBITMAP mask = CreateBitmap(16, 32, 1, 1, nullptr);
  ICONINFO info{TRUE, 0, 0, mask, nullptr};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  return icon;
}

HWND IconStatic(HWND parent, HICON icon) {
  HWND control = CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE | SS_ICON, 4, 4, 32, 32, parent,
                                 reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  return control;
}

TEST(InspectIconTest, AStaticShowsWhichIconResourceItDrewUntilItIsDestroyed) {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  HWND parent = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, self, nullptr);
  HWND control = IconStatic(parent, LoadIconW(self, MAKEINTRESOURCEW(IDI_APP)));
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::inspect::LastIconDrawn(control), IDI_APP);
  EXPECT_EQ(vela::inspect::LastIconDrawn(parent), 0) << "the parent drew no icon itself";

  // Another resource, and then an icon made in memory: the record follows what was drawn last.
  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(self, MAKEINTRESOURCEW(IDI_ALPHA))), 0);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::inspect::LastIconDrawn(control), IDI_ALPHA);
  HICON made = MadeIcon();
  ASSERT_NE(made, nullptr);
  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(made), 0);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(vela::inspect::LastIconDrawn(control), 0);

  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(self, MAKEINTRESOURCEW(IDI_APP))), 0);
  vela::input::PumpUntilIdle();
  ASSERT_EQ(vela::inspect::LastIconDrawn(control), IDI_APP);
  DestroyWindow(parent);
  EXPECT_EQ(vela::inspect::LastIconDrawn(control), 0) << "the record goes with the window and its parent";
  DestroyIcon(made);
}

TEST(InspectIconTest, TheIdIsKeptAfterTheDrawnIconIsDestroyedAndNotTakenFromMemoryDcs) {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  HWND window = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, self, nullptr);
  vela::input::PumpUntilIdle();
  // Load, draw, destroy: how a status icon paints.
  HICON icon = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_ALPHA), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(icon, nullptr);
  HDC dc = GetDC(window);
  ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
  ReleaseDC(window, dc);
  DestroyIcon(icon);
  EXPECT_EQ(vela::inspect::LastIconDrawn(window), IDI_ALPHA);

  HDC memory = CreateCompatibleDC(nullptr);
  HICON other = LoadIconW(self, MAKEINTRESOURCEW(IDI_APP));
  EXPECT_TRUE(DrawIconEx(memory, 0, 0, other, 0, 0, 0, nullptr, DI_NORMAL));
  DeleteDC(memory);
  EXPECT_EQ(vela::inspect::LastIconDrawn(window), IDI_ALPHA);

  // A draw that fails records nothing.
  dc = GetDC(window);
  EXPECT_FALSE(DrawIconEx(dc, 0, 0, other, 0, 0, 0, nullptr, 0));
  ReleaseDC(window, dc);
  EXPECT_EQ(vela::inspect::LastIconDrawn(window), IDI_ALPHA);
  DestroyWindow(window);
}

}  // namespace
