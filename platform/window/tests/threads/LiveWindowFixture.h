// The desktop window live in this process, against windows of the test's own thread: a target
// window with a button, a click counter and a timer counter; desktop events pushed into SDL's
// queue from a helper thread while the test thread runs the message loop.
#pragma once

#include <windows.h>
#include <vela/Clock.h>
#include <vela/Screen.h>
#include <vela/Terminal.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "FrontEnd.h"
#include "Scaler.h"
#include "TerminalTempDir.h"
#include "WindowSettings.h"
#include "../WindowTestSupport.h"

namespace vela::window::test {

using namespace std::chrono_literals;


constexpr int kButtonId = 100;
constexpr int kTapsId = 101;
constexpr int kTicksId = 102;
// The target window's place on the screen and its button's centre (screen coordinates).
constexpr int kLeft = 20, kTop = 30;
constexpr int kButtonX = kLeft + 10 + 40, kButtonY = kTop + 10 + 15;

struct Seen {
  std::atomic<int> taps{0};
  std::atomic<int> ticks{0};
  std::atomic<int> lastKey{0};
  std::atomic<int> keys{0};
  std::atomic<LPARAM> lastUp{-1};
};
inline Seen& Target() {
  static Seen seen;
  return seen;
}

inline LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Seen& seen = Target();
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButtonId) {
        const std::u16string text = u"taps " + std::u16string(1, static_cast<char16_t>(u'0' + ++seen.taps % 10));
        SetWindowTextW(GetDlgItem(hwnd, kTapsId), text.c_str());
      }
      return 0;
    case WM_TIMER: {
      const std::u16string text = u"ticks " + std::u16string(1, static_cast<char16_t>(u'0' + ++seen.ticks % 10));
      SetWindowTextW(GetDlgItem(hwnd, kTicksId), text.c_str());
      return 0;
    }
    case WM_KEYDOWN:
      seen.lastKey = static_cast<int>(wParam);
      ++seen.keys;
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      seen.lastUp = lParam;
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

inline void PushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = key;
  event.key.keysym.mod = mod;
  SDL_PushEvent(&event);
  event.type = SDL_KEYUP;
  event.key.state = SDL_RELEASED;
  SDL_PushEvent(&event);
}

inline void PushButton(Uint32 type, int x, int y) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}

inline void PushMotion(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.state = SDL_BUTTON_LMASK;
  event.motion.x = x;
  event.motion.y = y;
  SDL_PushEvent(&event);
}

inline void PushQuit() {
  SDL_Event event{};
  event.type = SDL_QUIT;
  SDL_PushEvent(&event);
}

inline vela::screen::Image Scaled(const vela::screen::Image& screen, int zoom) {
  vela::screen::Image out;
  out.width = screen.width * zoom;
  out.height = screen.height * zoom;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  vela::window::ScaleNearest(screen.pixels.data(), screen.width, screen.height, screen.width, zoom, out.pixels.data(),
                             out.width);
  return out;
}

class LiveWindowTest : public ::testing::Test {
 protected:
  LiveWindowTest() {
    vela::window::test::UseDummyVideo();
    vela::clock::UseHost();
    Target().taps = 0;
    Target().ticks = 0;
    Target().lastKey = 0;
    Target().keys = 0;
    Target().lastUp = -1;
    MSG ignored;
    PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);  // the window thread waits on this queue
    settings_.programName = "WindowTest.exe";
    settings_.shotFolder = temp_.HostPath("shots").string();
    settings_.recordPath = temp_.HostPath("session.script").string();
    std::filesystem::create_directories(settings_.shotFolder);
  }
  ~LiveWindowTest() override {
    frontEnd_.Stop();
    DestroyTarget();
    vela::clock::UseHost();
    vela::terminal::Get().ResetForTests();
  }

  // A window with a push button, a static counting its clicks and one counting a 100 ms timer
  // when asked for (the screen then changes as time passes).
  void CreateTarget(bool timer = false) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = u"WindowTestTarget";
    RegisterClassW(&wc);
    target_ = CreateWindowExW(0, u"WindowTestTarget", u"target", WS_POPUP | WS_VISIBLE, kLeft, kTop, 200, 150, nullptr,
                              nullptr, wc.hInstance, nullptr);
    ASSERT_NE(target_, nullptr);
    CreateWindowExW(0, u"BUTTON", u"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 30, target_,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), wc.hInstance, nullptr);
    CreateWindowExW(0, u"STATIC", u"taps 0", WS_CHILD | WS_VISIBLE, 10, 50, 100, 20, target_,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTapsId)), wc.hInstance, nullptr);
    CreateWindowExW(0, u"STATIC", u"ticks 0", WS_CHILD | WS_VISIBLE, 10, 80, 100, 20, target_,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTicksId)), wc.hInstance, nullptr);
    SetForegroundWindow(target_);
    SetFocus(target_);
    if (timer) SetTimer(target_, 1, 100, nullptr);
  }

  void DestroyTarget() {
    if (!target_) return;
    KillTimer(target_, 1);
    DestroyWindow(target_);
    target_ = nullptr;
    UnregisterClassW(u"WindowTestTarget", GetModuleHandleW(nullptr));
  }

  void StartWindow() {
    const std::string error = frontEnd_.Start(settings_, GetCurrentThreadId());
    ASSERT_EQ(error, "");
  }

  // Runs the message loop of this thread until WM_QUIT, while driver pushes desktop events from
  // a thread of its own; the driver quits the loop itself unless the window does.
  void Drive(const std::function<void()>& driver, bool driverQuits = true) {
    const DWORD ui = GetCurrentThreadId();
    std::thread helper([&] {
      driver();
      if (driverQuits) PostThreadMessageW(ui, WM_QUIT, 0, 0);
    });
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    helper.join();
  }

  void Settle() { ASSERT_TRUE(frontEnd_.WaitUntilSettled(10s)); }

  int Z(int screen) const { return screen * settings_.zoom + settings_.zoom / 2; }

  vela::window::test::Watchdog watchdog_;
  TerminalTempDir temp_;
  vela::window::WindowSettings settings_;
  vela::window::FrontEnd frontEnd_;
  HWND target_ = nullptr;
};

}  // namespace vela::window::test
