// The script player finding controls: taps by caption and id land on the control's centre,
// expectations pass and fail with the exact message and exit code 3, device actions reach the
// terminal, and a clock first command sets where the manual clock starts.
#include <vela/Clock.h>
#include <vela/Script.h>
#include <vela/Terminal.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "ControlTestSupport.h"
#include "TerminalTempDir.h"
#include "data/resources/PlatformTestsResource.h"

namespace {

constexpr int kStart = 1001, kState = 1002, kSecret = 1003, kIcon = 1004, kArrow = 1005;

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kStart && HIWORD(wParam) == BN_CLICKED) {
    SetDlgItemTextW(hwnd, kState, u"押した \"1\"");
    ShowWindow(GetDlgItem(hwnd, kArrow), SW_HIDE);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A small panel on the test's thread: a button, a status text, a hidden text, an icon and an
// arrow the button hides.
class ScriptExpectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &PanelProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = u"ScriptExpectPanel";
    ASSERT_NE(RegisterClassW(&wc), 0);
    panel_ = CreateWindowExW(0, u"ScriptExpectPanel", u"パネル", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(panel_, nullptr);
    Child(u"BUTTON", u"&開始", BS_PUSHBUTTON | WS_VISIBLE, 20, 20, 80, 30, kStart);
    Child(u"STATIC", u"待機", WS_VISIBLE, 20, 60, 150, 20, kState);
    Child(u"STATIC", u"秘密", 0, 20, 90, 50, 20, kSecret);
    HWND icon = Child(u"STATIC", u"", SS_ICON | WS_VISIBLE, 120, 100, 32, 32, kIcon);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_APP))), 0);
    Child(u"BUTTON", u"→", BS_PUSHBUTTON | WS_VISIBLE, 20, 150, 30, 30, kArrow);
  }
  void TearDown() override {
    DestroyWindow(panel_);
    UnregisterClassW(u"ScriptExpectPanel", GetModuleHandleW(nullptr));
    vela::terminal::Get().ResetForTests();
  }

  HWND Child(LPCWSTR cls, LPCWSTR text, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, panel_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  }

  struct Outcome {
    int played = -1;
    WPARAM quitCode = 0;
    std::string errors;
  };

  // Plays from a thread of its own against this thread's message loop.
  Outcome Play(const char* text) {
    const auto script = vela::script::Parse(text);
    EXPECT_TRUE(script.errors.empty()) << (script.errors.empty() ? "" : script.errors[0].message);
    vela::script::PlayerOptions options;
    options.shotFolder = temp_.HostPath("").string();
    options.scriptPath = "tour.script";
    const DWORD uiThread = GetCurrentThreadId();
    Outcome outcome;
    testing::internal::CaptureStderr();
    std::thread player([&] { outcome.played = vela::script::Play(script, uiThread, options); });
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    player.join();
    outcome.errors = testing::internal::GetCapturedStderr();
    outcome.quitCode = msg.wParam;
    return outcome;
  }

  vela::test::Watchdog watchdog_;
  vela::test::ManualClock clock_;
  TerminalTempDir temp_;
  HWND panel_ = nullptr;
};

TEST_F(ScriptExpectTest, TapsByCaptionAndIdAndExpectationsThatHold) {
  const Outcome outcome = Play(
      "expect text #1002 \"待機\"\n"
      "expect visible #1005\n"
      "expect hidden #1003\n"
      "expect hidden \"秘密\"\n"
      "expect icon #1004 200\n"
      "tap \"開始\"\n"  // the button's mnemonic does not count
      "expect text #1002 \"押した \\\"1\\\"\"\n"
      "expect hidden #1005\n"
      "expect text \"パネル\" \"パネル\"\n");
  EXPECT_EQ(outcome.errors, "");
  EXPECT_EQ(outcome.played, 0);
  EXPECT_EQ(outcome.quitCode, 0u);
}

TEST_F(ScriptExpectTest, TapByIdHitsTheCentreOfTheControl) {
  const Outcome outcome = Play("tap #1001\nexpect text #1002 \"押した \\\"1\\\"\"\n");
  EXPECT_EQ(outcome.errors, "");
  EXPECT_EQ(outcome.played, 0);
}

TEST_F(ScriptExpectTest, AFailedExpectationEndsTheRunWithThreeAndSaysWhy) {
  Outcome outcome = Play("expect text #1002 \"違う\"\ntap #1001\n");
  EXPECT_EQ(outcome.played, vela::script::kExpectationFailedExitCode);
  EXPECT_EQ(outcome.quitCode, 3u);
  EXPECT_EQ(outcome.errors, "tour.script:1: expect text #1002: got \"待機\", wanted \"違う\"\n");
  EXPECT_EQ(GetDlgItemInt(panel_, kState, nullptr, FALSE), 0u) << "nothing after the failure ran";

  outcome = Play("\n# icon\nexpect icon #1004 201\n");
  EXPECT_EQ(outcome.played, 3);
  EXPECT_EQ(outcome.errors, "tour.script:3: expect icon #1004: got 200, wanted 201\n");

  outcome = Play("expect visible #1003\n");
  EXPECT_EQ(outcome.errors, "tour.script:1: expect visible #1003: got hidden, wanted visible\n");

  outcome = Play("expect icon #1002 200\n");
  EXPECT_EQ(outcome.errors, "tour.script:1: expect icon #1002: got no icon from a resource, wanted 200\n");
}

TEST_F(ScriptExpectTest, AControlNotFoundIsAFailureOfItsOwn) {
  Outcome outcome = Play("expect text \"無い\" \"x\"\n");
  EXPECT_EQ(outcome.played, 3);
  EXPECT_EQ(outcome.errors, "tour.script:1: expect text \"無い\": no visible control has that caption\n");

  // Hidden controls are no candidates for text, nor for taps.
  outcome = Play("expect text #1003 \"秘密\"\n");
  EXPECT_EQ(outcome.errors, "tour.script:1: expect text #1003: no visible control has that id\n");
  outcome = Play("expect hidden #4242\n");
  EXPECT_EQ(outcome.errors, "tour.script:1: expect hidden #4242: no control has that id\n");

  outcome = Play("tap \"秘密\"\n");
  EXPECT_EQ(outcome.played, 1);
  EXPECT_EQ(outcome.errors, "script: line 1: tap \"秘密\" failed: no visible control has that caption\n");
}

TEST_F(ScriptExpectTest, DeviceActionsReachTheTerminal) {
  const Outcome outcome = Play("battery 20\npower on\nsuspend\nwait 30\nwake\n");
  EXPECT_EQ(outcome.errors, "");
  EXPECT_EQ(outcome.played, 0);
  const auto state = vela::terminal::Get().Get();
  EXPECT_EQ(state.power.batteryPercent, 20);
  EXPECT_TRUE(state.power.externalPower);
  const auto records = vela::terminal::Get().GetRecords();
  EXPECT_EQ(records.suspends, 1u);
  EXPECT_EQ(records.wakeUps, 1u);
  EXPECT_FALSE(vela::terminal::Get().IsSuspended());
}

TEST_F(ScriptExpectTest, TheClockCommandStartsTheManualClockThere) {
  const Outcome outcome = Play("clock 2030-06-15T12:00:00\nwait 1500\n");
  EXPECT_EQ(outcome.errors, "");
  SYSTEMTIME now{};
  GetSystemTime(&now);
  EXPECT_EQ(now.wYear, 2030);
  EXPECT_EQ(now.wMonth, 6);
  EXPECT_EQ(now.wDay, 15);
  EXPECT_EQ(now.wHour, 12);
  EXPECT_EQ(now.wSecond, 1);
  EXPECT_EQ(now.wMilliseconds, 500);
}

}  // namespace
