// Input-method changes reach the focus window as WM_IME_NOTIFY; the flip key reaches the
// foreground window as WM_FLIPKEY_INPUT.
#include <windows.h>

#include <gtest/gtest.h>
#include <imm.h>
#include <vela/Input.h>
#include <vela/MessageSpy.h>
#include <vela/Terminal.h>

#include <vector>

#include "MessageSequence.h"

using namespace vela::test;

namespace {

std::vector<DWORD> g_imeNotifyThreads;

LRESULT CALLBACK ImeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_IME_NOTIFY) {
    g_imeNotifyThreads.push_back(GetCurrentThreadId());
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class ImeNotifyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ImeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = u"ImeNotifyTest";
    RegisterClassW(&wc);
  }
  void SetUp() override {
    vela::terminal::Get().ResetForTests();
    g_imeNotifyThreads.clear();
  }
  void TearDown() override {
    for (HWND h : windows_) {
      DestroyWindow(h);
    }
    vela::input::PumpUntilIdle();
    vela::terminal::Get().ResetForTests();
  }
  HWND Make(DWORD style, HWND parent = nullptr) {
    HWND h = CreateWindowExW(0, u"ImeNotifyTest", nullptr, style, 0, 0, 50, 50, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!parent) {
      windows_.push_back(h);
    }
    return h;
  }
  std::vector<HWND> windows_;
};

TEST_F(ImeNotifyTest, EachChangedPartIsToldToTheFocusWindowOnly) {
  HWND top = Make(WS_POPUP | WS_VISIBLE);
  HWND edit = Make(WS_CHILD | WS_VISIBLE, top);
  vela::input::PumpUntilIdle();
  ASSERT_EQ(SetFocus(edit), top);
  vela::MessageSpy spy;
  spy.Watch(top);
  spy.Watch(edit);

  ASSERT_TRUE(ImmSetOpenStatus(nullptr, TRUE));
  ASSERT_TRUE(ImmSetConversionStatus(nullptr, IME_CMODE_NATIVE, IME_SMODE_NONE));  // sentence unchanged
  ASSERT_TRUE(ImmSetConversionStatus(nullptr, IME_CMODE_NATIVE, IME_SMODE_AUTOMATIC));
  ASSERT_TRUE(ImmSetConversionStatus(nullptr, IME_CMODE_ALPHANUMERIC, IME_SMODE_NONE));
  ASSERT_TRUE(ImmSetOpenStatus(nullptr, TRUE));  // no change, nothing told
  EXPECT_TRUE(MatchesSequence(spy.Take(), {
      {WM_IME_NOTIFY, kSent | kWParam | kLParam, IMN_SETOPENSTATUS, 0, edit},
      {WM_IME_NOTIFY, kSent | kWParam | kLParam, IMN_SETCONVERSIONMODE, 0, edit},
      {WM_IME_NOTIFY, kSent | kWParam | kLParam, IMN_SETSENTENCEMODE, 0, edit},
      {WM_IME_NOTIFY, kSent | kWParam | kLParam, IMN_SETCONVERSIONMODE, 0, edit},
      {WM_IME_NOTIFY, kSent | kWParam | kLParam, IMN_SETSENTENCEMODE, 0, edit},
  }));

  // A change made straight on the terminal (the simulator's way) is told the same.
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.input.imeOpen = false; });
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_IME_NOTIFY, kSent | kWParam, IMN_SETOPENSTATUS, 0, edit}}));
  // Other areas tell nothing.
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.input.keyInputMode = 3; });
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.power.batteryPercent = 10; });
  EXPECT_TRUE(spy.Take().empty());
}

TEST_F(ImeNotifyTest, WithoutAFocusNothingIsSent) {
  HWND top = Make(WS_POPUP | WS_VISIBLE);
  vela::input::PumpUntilIdle();
  SetFocus(nullptr);
  ASSERT_TRUE(ImmSetOpenStatus(nullptr, TRUE));
  EXPECT_TRUE(g_imeNotifyThreads.empty());

  SetFocus(top);
  DestroyWindow(top);
  windows_.clear();
  ASSERT_TRUE(ImmSetOpenStatus(nullptr, FALSE));  // the focus window is gone
  EXPECT_TRUE(g_imeNotifyThreads.empty());
}

TEST_F(ImeNotifyTest, FlipKeyIsPostedToTheForegroundWindow) {
  HWND top = Make(WS_POPUP | WS_VISIBLE);
  HWND child = Make(WS_CHILD | WS_VISIBLE, top);
  vela::input::PumpUntilIdle();
  SetFocus(child);
  vela::MessageSpy spy;
  spy.Watch(top);
  spy.Watch(child);
  vela::input::PressFlipKey();
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_FLIPKEY_INPUT, kPosted | kWParam | kLParam, 0, 0, top}}));

  DestroyWindow(top);
  windows_.clear();
  vela::input::PressFlipKey();  // nobody in the foreground: dropped
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_FLIPKEY_INPUT, WM_FLIPKEY_INPUT, PM_REMOVE));
}

}  // namespace
