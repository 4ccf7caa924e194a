// The real player with real programs: one that a tap starts has ended before the next command.
#include <vela/Script.h>
#include <vela/Terminal.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <thread>

#include "ControlTestSupport.h"
#include "ScopedTerminalRoot.h"

namespace {

std::string g_marker;           // the file the program writes as its last act
bool g_markerSeenAtSecondTap = false;

LRESULT CALLBACK StarterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) {
    if (LOWORD(lParam) == 5) {
      PROCESS_INFORMATION info{};
      if (CreateProcessW(u"\\Windows\\slowjob.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                         &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
      }
    } else {
      g_markerSeenAtSecondTap = std::filesystem::exists(g_marker);
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(ScriptProgramsTest, AProgramATapStartedHasEndedBeforeTheNextCommand) {
  vela::test::Watchdog watchdog;
  vela::test::ManualClock clock;
  vela::testing::ScopedTerminalRoot root;
  root.MakeFolder("Windows");
  root.MakeFolder("Temp");
  vela::terminal::Get().ResetForTests();
  g_marker = root.Host("Temp/done");
  root.WriteBytes("Windows/slowjob.exe", "#!/bin/sh\nsleep 0.3\ntouch '" + g_marker + "'\n");
  chmod(root.Host("Windows/slowjob.exe").c_str(), 0755);

  WNDCLASSW wc{};
  wc.lpfnWndProc = &StarterProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = u"ScriptProgramsStarter";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND window = CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  const auto script = vela::script::Parse("tap 5 5\nwait 10\ntap 6 6\nidle\n");
  ASSERT_TRUE(script.errors.empty());
  const DWORD uiThread = GetCurrentThreadId();
  int played = -1;
  std::thread player([&] { played = vela::script::Play(script, uiThread, {}); });
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  player.join();
  EXPECT_EQ(played, 0);
  EXPECT_TRUE(g_markerSeenAtSecondTap) << "the player went on before the started program ended";
  EXPECT_EQ(vela::terminal::Get().GetRecords().processStarts.size(), 1u);

  DestroyWindow(window);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  vela::terminal::Get().ResetForTests();
}

}  // namespace
