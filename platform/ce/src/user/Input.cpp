// Stylus and key input, posted to the owning thread's queue as hardware input.
#include <vela/Input.h>
#include <vela/Clock.h>

#include <cstdlib>

#include "kernel/ThreadActivity.h"
#include "mmtimer/TimerQueue.h"
#include "user/Focus.h"
#include "user/MessageQueue.h"
#include "user/UserState.h"

using namespace vela::user;

namespace {

struct StylusState {
  bool down = false;
  HWND lastDownWindow = nullptr;
  std::uint64_t lastDownTime = 0;
  POINT lastDownPoint{};
  bool lastWasDouble = false;
};

StylusState g_stylus;  // guarded by the window manager's lock

// The capture of the foreground thread, else of the thread that owns the window under the point.
Window* StylusTarget(POINT screen) {
  if (Window* fg = Find(ForegroundWindow())) {
    if (fg->queue) {
      if (Window* c = Find(fg->queue->capture)) {
        return c;
      }
    }
  }
  Window* w = WindowAtScreenPoint(screen);
  if (w != nullptr && w->queue) {
    if (Window* c = Find(w->queue->capture)) {
      return c;
    }
  }
  if (w == nullptr || w == Desktop() || (w->style & WS_DISABLED)) {
    return nullptr;  // nobody to tell, or a disabled top-level window (a modal dialog's owner)
  }
  return w;
}

void PostInput(Window* target, UINT message, WPARAM wParam, LPARAM lParam) {
  target->queue->input.push_back(MakeMessage(target->handle, message, wParam, lParam));
  Wake(*target->queue);
}

void Stylus(UINT message, int x, int y) {
  Guard g(Lock());
  const POINT screen{x, y};
  CursorPosition() = screen;
  Window* target = StylusTarget(screen);
  if (message == WM_LBUTTONDOWN) {
    g_stylus.down = true;
  }
  const bool wasDown = g_stylus.down;
  if (message == WM_LBUTTONUP) {
    g_stylus.down = false;
  }
  if (target == nullptr || !target->queue) {
    return;
  }
  const POINT origin = ClientOriginOnScreen(target);
  const LPARAM where = MAKELPARAM(static_cast<SHORT>(x - origin.x), static_cast<SHORT>(y - origin.y));
  if (message == WM_LBUTTONDOWN) {
    const std::uint64_t now = Now();
    const bool dblclk = (target->cls->style & CS_DBLCLKS) && !g_stylus.lastWasDouble &&
                        g_stylus.lastDownWindow == target->handle &&
                        now - g_stylus.lastDownTime <= GetDoubleClickTime() &&
                        std::abs(x - g_stylus.lastDownPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                        std::abs(y - g_stylus.lastDownPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    g_stylus.lastDownWindow = target->handle;
    g_stylus.lastDownTime = now;
    g_stylus.lastDownPoint = screen;
    g_stylus.lastWasDouble = dblclk;
    PostInput(target, dblclk ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, where);
  } else if (message == WM_MOUSEMOVE) {
    PostInput(target, WM_MOUSEMOVE, wasDown ? MK_LBUTTON : 0, where);
  } else {
    PostInput(target, WM_LBUTTONUP, 0, where);
  }
}

Window* KeyTarget() {
  Window* fg = Find(ForegroundWindow());
  if (fg == nullptr || !fg->queue) {
    return nullptr;
  }
  if (Window* focus = Find(fg->queue->focus)) {
    return focus;
  }
  return fg;
}

void Key(UINT message, UINT vk) {
  Guard g(Lock());
  Window* target = KeyTarget();
  if (target == nullptr) {
    return;
  }
  // Repeat count 1; key-up messages carry the previous-state and transition bits.
  const LPARAM flags = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001u) : 1;
  PostInput(target, message, vk, flags);
}

}  // namespace

namespace vela::input {

void StylusDown(int x, int y) { Stylus(WM_LBUTTONDOWN, x, y); }
void StylusMove(int x, int y) { Stylus(WM_MOUSEMOVE, x, y); }
void StylusUp(int x, int y) { Stylus(WM_LBUTTONUP, x, y); }

void Tap(int x, int y) {
  StylusDown(x, y);
  StylusUp(x, y);
}

void KeyDown(UINT virtualKey) { Key(WM_KEYDOWN, virtualKey); }
void KeyUp(UINT virtualKey) { Key(WM_KEYUP, virtualKey); }

void KeyPress(UINT virtualKey) {
  KeyDown(virtualKey);
  KeyUp(virtualKey);
}

void TypeText(std::u16string_view text) {
  Guard g(Lock());
  Window* target = KeyTarget();
  if (target == nullptr) {
    return;
  }
  for (char16_t ch : text) {
    PostInput(target, WM_CHAR, ch, 1);
  }
}

bool PumpUntilIdle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool WaitUntilIdle(DWORD threadId, std::chrono::milliseconds timeout) {
  // Idle means after the work that others still have for the thread: on the manual clock the
  // multimedia timers that fell due (a device wait's outcome), and the application's own
  // threads that a change woke (a notifier posting an icon change). Each may give work to the
  // other, so the look is repeated until a round finds everything still.
  const auto giveUp = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (vela::clock::IsManual()) vela::mmtimer::WaitUntilIdle();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
    vela::kernel::activity::WaitUntilSettled(std::max(left, std::chrono::milliseconds(0)));
    if (!WaitForIdle(threadId, std::max(left, std::chrono::milliseconds(0)))) return false;
    if (vela::kernel::activity::IsSettled() && (!vela::clock::IsManual() || vela::mmtimer::IsIdle())) return true;
    if (std::chrono::steady_clock::now() >= giveUp) return true;  // idle now; a busy thread is its own matter
  }
}

}  // namespace vela::input
