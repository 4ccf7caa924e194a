// The script player against a real window of the test's own thread: input arrives where the
// script says, waits on the manual clock give every timer period, pictures are saved, and the
// script's quit ends the message loop. Also the start from the environment.
#include <vela/Screen.h>
#include <vela/Script.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ControlTestSupport.h"
#include "TerminalTempDir.h"

namespace {

std::vector<MSG>& Seen() {
  static std::vector<MSG> seen;
  return seen;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_KEYDOWN || message == WM_CHAR ||
      message == WM_TIMER) {
    Seen().push_back(MSG{hwnd, message, wParam, lParam, 0, {}});
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int Count(UINT message) {
  int n = 0;
  for (const MSG& m : Seen()) n += m.message == message ? 1 : 0;
  return n;
}

constexpr COLORREF kFace = RGB(0x30, 0x60, 0x90);

struct Outcome {
  int played = -1;      // what Play returned
  WPARAM quitCode = 0;  // what the message loop ended with
};

// Plays the script from a thread of its own against this thread, which runs a message loop
// until the script's WM_QUIT.
Outcome PlayAgainstThisThread(const char* text, const std::string& shotFolder) {
  const auto script = vela::script::Parse(text);
  EXPECT_TRUE(script.errors.empty());
  vela::script::PlayerOptions options;
  options.shotFolder = shotFolder;
  const DWORD uiThread = GetCurrentThreadId();
  Outcome outcome;
  std::thread player([&] { outcome.played = vela::script::Play(script, uiThread, options); });
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  player.join();
  outcome.quitCode = msg.wParam;
  return outcome;
}

TEST(ScriptRunTest, ScriptDrivesAWindowOfTheUiThread) {
  vela::test::Watchdog watchdog;
  vela::test::ManualClock clock;
  TerminalTempDir temp;
  Seen().clear();

  WNDCLASSW wc{};
  wc.lpfnWndProc = &RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(kFace);
  wc.lpszClassName = u"ScriptRunTarget";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND window = CreateWindowExW(0, u"ScriptRunTarget", u"スクリプト窓", WS_POPUP | WS_VISIBLE, 10, 10, 90, 90, nullptr,
                                nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  SetFocus(window);
  SetTimer(window, 1, 100, nullptr);

  const Outcome outcome = PlayAgainstThisThread(
      "tap 20 30\n"
      "key ENTER\n"
      "type あa\n"
      "wait 1000\n"
      "shot whole.png\n"
      "shot win.png スクリプト窓\n"
      "quit 5\n"
      "tap 50 50\n",
      temp.HostPath("").string());
  EXPECT_EQ(outcome.played, 5);
  EXPECT_EQ(outcome.quitCode, 5u);

  // The tap in client coordinates, the key, its character from TranslateMessage and the typed
  // ones, and one timer message per 100 ms of the wait; nothing after quit.
  ASSERT_EQ(Count(WM_LBUTTONDOWN), 1);
  const MSG& down = *std::find_if(Seen().begin(), Seen().end(), [](const MSG& m) { return m.message == WM_LBUTTONDOWN; });
  EXPECT_EQ(down.lParam, MAKELPARAM(10, 20));
  EXPECT_EQ(Count(WM_LBUTTONUP), 1);
  EXPECT_EQ(Count(WM_KEYDOWN), 1);
  std::u16string typed;
  for (const MSG& m : Seen()) {
    if (m.message == WM_CHAR) typed += static_cast<char16_t>(m.wParam);
  }
  EXPECT_EQ(typed, u"\rあa");
  EXPECT_EQ(Count(WM_TIMER), 10);

  const auto whole = vela::screen::LoadPng(temp.HostPath("whole.png").string());
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->width, vela::screen::Width());
  EXPECT_EQ(whole->At(50, 50), 0x306090u);
  const auto own = vela::screen::LoadPng(temp.HostPath("win.png").string());
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(own->width, 90);
  EXPECT_EQ(own->height, 90);
  EXPECT_EQ(own->At(0, 0), 0x306090u);

  KillTimer(window, 1);
  DestroyWindow(window);
  UnregisterClassW(u"ScriptRunTarget", wc.hInstance);
  DeleteObject(wc.hbrBackground);
}

TEST(ScriptRunTest, FailingShotEndsTheRunWithExitCodeOne) {
  vela::test::Watchdog watchdog;
  vela::test::ManualClock clock;
  TerminalTempDir temp;
  const Outcome outcome = PlayAgainstThisThread("shot nowhere.png 無い窓\ntap 1 1\n", temp.HostPath("").string());
  EXPECT_EQ(outcome.played, 1);
  EXPECT_EQ(outcome.quitCode, 1u);
}

// The program entry's side: a faulty script is reported and the application told to quit at
// once with 2; without VELA_SCRIPT nothing happens.
TEST(ScriptRunTest, EnvironmentStartRefusesAFaultyScript) {
  EXPECT_FALSE(vela::script::StartFromEnvironment());
  EXPECT_EQ(vela::script::FinishFromEnvironment(7), 7);

  TerminalTempDir temp;
  const std::string path = temp.HostPath("bad.script").string();
  std::ofstream(path) << "tap 1\nidle\n";
  setenv("VELA_SCRIPT", path.c_str(), 1);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(vela::script::StartFromEnvironment());
  const std::string errors = testing::internal::GetCapturedStderr();
  unsetenv("VELA_SCRIPT");
  EXPECT_NE(errors.find(path + ":1: expects two whole numbers X Y"), std::string::npos) << errors;
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 2u);
  EXPECT_EQ(vela::script::FinishFromEnvironment(0), 2);
}

}  // namespace
