// Window timers on the platform clock. A timer only becomes WM_TIMER when the thread's queue has
// nothing else to give, and late timers are coalesced into one message.
#include <windows.h>

#include <algorithm>

#include "user/UserState.h"

namespace vela::user {

void RemoveTimersOf(Queue& queue, HWND hwnd) {
  std::erase_if(queue.timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

}  // namespace vela::user

using namespace vela::user;

namespace {

// The platform's shortest interval.
constexpr UINT kMinimumInterval = 10;
// Window-less timers get ids from here on, so they never look like small window timer ids.
UINT_PTR g_nextThreadTimerId = 0x7F00;

}  // namespace

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  auto q = CurrentQueue();
  Guard g(Lock());
  if (hWnd != nullptr) {
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return 0;
    }
    if (w->queue != q) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  const std::uint64_t interval = std::max(uElapse, kMinimumInterval);
  const std::uint64_t due = Now() + interval;
  if (hWnd == nullptr) {
    // A window-less timer keeps its id when named again, else gets a new one.
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return t.hwnd == nullptr && t.id == nIDEvent && nIDEvent != 0; });
    if (it == q->timers.end()) {
      nIDEvent = g_nextThreadTimerId++;
      q->timers.push_back({nullptr, nIDEvent, lpTimerFunc, interval, due});
    } else {
      *it = {nullptr, nIDEvent, lpTimerFunc, interval, due};
    }
  } else {
    // Setting an existing id again restarts it with the new interval and callback.
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return t.hwnd == hWnd && t.id == nIDEvent; });
    if (it == q->timers.end()) {
      q->timers.push_back({hWnd, nIDEvent, lpTimerFunc, interval, due});
    } else {
      *it = {hWnd, nIDEvent, lpTimerFunc, interval, due};
    }
  }
  // A thread waiting in GetMessage has to wait for the new deadline instead.
  Wake(*q);
  return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  auto q = CurrentQueue();
  Guard g(Lock());
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
  if (it == q->timers.end()) {
    SetLastError(hWnd != nullptr && Find(hWnd) == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  q->timers.erase(it);
  return TRUE;
}
