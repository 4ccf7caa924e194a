// Shared pieces of the control and dialog tests: a parent window that records what its
// controls tell it, a subclass that records what a control receives (in one ordered log), and
// a watchdog for tests that run a modal loop.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vela/Clock.h"
#include "vela/Input.h"
#include "vela/Screen.h"
#include "windows.h"

namespace vela::test {

// Ends the process when a test hangs (host time), so a stuck modal loop fails the run.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit = std::chrono::seconds(20)) {
    thread_ = std::thread([this, limit] {
      std::unique_lock lock(mutex_);
      if (!done_cv_.wait_for(lock, limit, [this] { return done_; })) {
        std::fprintf(stderr, "watchdog: test hung\n");
        std::abort();
      }
    });
  }
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

// One entry of the recorded log. For WM_DRAWITEM the action and state of the DRAWITEMSTRUCT
// are kept, since the structure itself does not outlive the message.
struct Event {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  UINT itemAction = 0;
  UINT itemState = 0;

  bool operator==(const Event& o) const {
    return hwnd == o.hwnd && message == o.message && wParam == o.wParam && itemAction == o.itemAction &&
           itemState == o.itemState;
  }
};

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
  char text[96];
  std::snprintf(text, sizeof(text), "{%p msg 0x%04X wParam 0x%lX action %u state 0x%X}", static_cast<void*>(e.hwnd),
                e.message, static_cast<unsigned long>(e.wParam), e.itemAction, e.itemState);
  return os << text;
}

// The messages a sequence test is about; painting and colour queries are left out.
inline bool Interesting(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      return true;
    default:
      return false;
  }
}

class EventLog {
 public:
  static EventLog& Current() {
    static EventLog log;
    return log;
  }
  void Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Interesting(message)) return;
    Event e{hwnd, message, wParam};
    if (message == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      e.itemAction = dis->itemAction;
      e.itemState = dis->itemState;
    }
    events_.push_back(e);
  }
  std::vector<Event> Take() { return std::exchange(events_, {}); }

 private:
  std::vector<Event> events_;
};

// A top-level window that records the notifications and owner-draw requests of its children.
class TestParent {
 public:
  TestParent(int x = 0, int y = 0, int width = 240, int height = 320) {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = u"VelaControlTestParent";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExW(0, u"VelaControlTestParent", u"", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                            nullptr, nullptr, nullptr);
  }
  ~TestParent() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;

  HWND hwnd() const { return hwnd_; }

  HWND Child(LPCWSTR cls, LPCWSTR text, DWORD style, int id, int x, int y, int width, int height) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }

  // When set, the parent answers WM_CTLCOLORSTATIC with this brush and white text.
  static HBRUSH& ColorBrush() {
    static HBRUSH brush = nullptr;
    return brush;
  }

  // Records the messages the control receives, in the same log as the parent's.
  static void Record(HWND control) {
    auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWL_WNDPROC));
    Previous() = old;
    SetWindowLongPtrW(control, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
  }

 private:
  static WNDPROC& Previous() {
    static WNDPROC previous = nullptr;
    return previous;
  }
  static LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    EventLog::Current().Add(hwnd, message, wParam, lParam);
    return CallWindowProcW(Previous(), hwnd, message, wParam, lParam);
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC && ColorBrush()) {
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0xFF, 0xFF, 0xFF));
      return reinterpret_cast<LRESULT>(ColorBrush());
    }
    if (message == WM_COMMAND || message == WM_DRAWITEM) {
      EventLog::Current().Add(hwnd, message, wParam, lParam);
      if (message == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush((dis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      }
      return message == WM_DRAWITEM ? TRUE : 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

// The screen position of a point in a window's client area.
inline POINT OnScreen(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  return p;
}

inline void TapAt(HWND hwnd, int x, int y) {
  POINT p = OnScreen(hwnd, x, y);
  vela::input::Tap(p.x, p.y);
  vela::input::PumpUntilIdle();
}

// A fixed clock for the test, so double taps and timers do not depend on the host.
class ManualClock {
 public:
  ManualClock() {
    SYSTEMTIME start{};
    start.wYear = 2026;
    start.wMonth = 1;
    start.wDay = 5;
    start.wHour = 9;
    vela::clock::UseManual(start);
  }
  ~ManualClock() { vela::clock::UseHost(); }
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;
};

}  // namespace vela::test
