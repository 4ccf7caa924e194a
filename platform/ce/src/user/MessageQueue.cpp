// Message queues: posting, sending (also across threads), and retrieval in the platform's
// order: sent messages are processed first, then posted messages, hardware input, WM_QUIT,
// WM_PAINT and WM_TIMER, the last two generated only when nothing else is waiting.
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <limits>

#include "debug/DebugChannel.h"
#include "kernel/WaitHandles.h"
#include "user/Focus.h"
#include "user/MessageQueue.h"
#include "user/SpyRecorder.h"
#include "user/UserState.h"

namespace vela::user {

namespace {

std::condition_variable& IdleChanged() {
  static auto* cv = new std::condition_variable;
  return *cv;
}

POINT g_cursor{0, 0};

bool MatchesWindow(HWND filter, HWND hwnd) {
  if (filter == nullptr) {
    return true;
  }
  if (filter == reinterpret_cast<HWND>(-1)) {
    return hwnd == nullptr;
  }
  if (hwnd == filter) {
    return true;
  }
  // Messages of the filter window's children count as its own.
  Window* w = Find(hwnd);
  Window* f = Find(filter);
  for (; w != nullptr && f != nullptr; w = w->parent) {
    if (w == f) {
      return true;
    }
  }
  return false;
}

bool MatchesRange(UINT min, UINT max, UINT message) {
  if (min == 0 && max == 0) {
    return true;
  }
  return message >= min && message <= max;
}

Window* FindWindowToPaint(Window* w, Queue& q, HWND filter) {
  for (Window* child : w->children) {
    if (!(child->style & WS_VISIBLE)) {
      continue;
    }
    if (child->queue.get() == &q && NeedsPaint(child) && MatchesWindow(filter, child->handle)) {
      return child;
    }
    if (Window* found = FindWindowToPaint(child, q, filter)) {
      return found;
    }
  }
  return nullptr;
}


}  // namespace

POINT& CursorPosition() { return g_cursor; }

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = static_cast<DWORD>(Now());
  m.pt = g_cursor;
  return m;
}

void Wake(Queue& queue) {
  if (queue.waiting) {
    queue.alarm.Interrupt();
  }
}

void ProcessSentMessage(Queue& q, const std::shared_ptr<SentMessage>& m) {
  WNDPROC proc = nullptr;
  {
    Guard g(Lock());
    if (Window* w = Find(m->hwnd)) {
      proc = w->proc;
    }
    q.receiving.push_back(m);
  }
  LRESULT result = 0;
  if (proc != nullptr) {
    SpyOn(m->hwnd, m->message, m->wParam, m->lParam, false);
    result = proc(m->hwnd, m->message, m->wParam, m->lParam);
  }
  bool wake;
  {
    Guard g(Lock());
    q.receiving.pop_back();
    if (!m->done) {
      m->result = result;
      m->done = true;
    }
    wake = m->sender && m->sender->waiting;
  }
  // Woken after the lock is free, so the sender does not wake only to wait for it.
  if (wake) {
    m->sender->alarm.Interrupt();
  }
}

bool Retrieve(Queue& q, MSG* out, HWND filter, UINT min, UINT max, UINT flags, bool wait) {
  const bool remove = (flags & PM_REMOVE) != 0;
  Guard g(Lock());
  for (;;) {
    if (!q.sent.empty()) {
      auto m = q.sent.front();
      q.sent.pop_front();
      g.unlock();
      ProcessSentMessage(q, m);
      g.lock();
      continue;
    }
    for (auto* list : {&q.posted, &q.input}) {
      for (auto it = list->begin(); it != list->end(); ++it) {
        if (MatchesWindow(filter, it->hwnd) && MatchesRange(min, max, it->message)) {
          *out = *it;
          if (remove) {
            list->erase(it);
            if (list == &q.input) {
              if (out->message == WM_KEYDOWN || out->message == WM_SYSKEYDOWN) {
                BYTE& state = q.keyState[out->wParam & 0xff];
                state = static_cast<BYTE>((state & 0x01) ^ 0x01) | 0x80;
              } else if (out->message == WM_KEYUP || out->message == WM_SYSKEYUP) {
                q.keyState[out->wParam & 0xff] &= 0x01;
              }
            }
            q.last = *out;
          }
          return true;
        }
      }
    }
    if (q.quitPosted) {
      *out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
      if (remove) {
        q.quitPosted = false;
      }
      return true;
    }
    if (Window* w = FindWindowToPaint(Desktop(), q, filter)) {
      if (w->framePending) {
        w->framePending = false;
        const HWND h = w->handle;
        g.unlock();
        DrawFrame(h);
        g.lock();
        continue;
      }
      if (MatchesRange(min, max, WM_PAINT)) {
        *out = MakeMessage(w->handle, WM_PAINT, 0, 0);
        if (remove) {
          q.last = *out;
        }
        return true;
      }
    }
    const std::uint64_t now = Now();
    std::uint64_t next = std::numeric_limits<std::uint64_t>::max();
    for (Timer& t : q.timers) {
      if (t.due <= now && MatchesWindow(filter, t.hwnd) && MatchesRange(min, max, WM_TIMER)) {
        *out = MakeMessage(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
        if (remove) {
          // Coalesced: however late, one WM_TIMER, and the next one interval from now.
          t.due = now + t.interval;
          q.last = *out;
        }
        return true;
      }
      next = std::min(next, t.due);
    }
    if (!wait) {
      return false;
    }
    q.waiting = true;
    q.idleBlocked = true;
    IdleChanged().notify_all();
    g.unlock();
    q.alarm.WaitUntil(next);
    g.lock();
    q.waiting = false;
    q.idleBlocked = false;
  }
}

namespace {

// Nothing for the thread to do: no message, no paint and no due timer.
bool NothingPending(Queue& q) {
  if (!q.posted.empty() || !q.input.empty() || !q.sent.empty() || q.quitPosted) {
    return false;
  }
  if (FindWindowToPaint(Desktop(), q, nullptr) != nullptr) {
    return false;
  }
  const std::uint64_t now = Now();
  for (const Timer& t : q.timers) {
    if (t.due <= now) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool WaitForIdle(DWORD threadId, std::chrono::milliseconds timeout) {
  Guard g(Lock());
  return IdleChanged().wait_for(g, timeout, [&] {
    auto q = QueueOfThread(threadId);
    return q && q->idleBlocked && NothingPending(*q);
  });
}

LRESULT CallProc(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam) {
  SpyOn(hwnd, msg, wParam, lParam, false);
  return proc(hwnd, msg, wParam, lParam);
}

LRESULT SendLocal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageW(hwnd, msg, wParam, lParam); }

}  // namespace vela::user

using namespace vela::user;

namespace {

LRESULT SendToOtherThread(const std::shared_ptr<Queue>& self, const std::shared_ptr<Queue>& target, HWND hwnd,
                          UINT msg, WPARAM wParam, LPARAM lParam) {
  auto m = std::make_shared<SentMessage>(SentMessage{hwnd, msg, wParam, lParam, 0, false, false, nullptr});
  m->sender = self;
  Guard g(Lock());
  if (!target->alive) {
    return 0;
  }
  target->sent.push_back(m);
  if (target->waiting) {
    g.unlock();
    target->alarm.Interrupt();
    g.lock();
  }
  // While waiting, messages sent to this thread are still processed: two threads sending to
  // each other do not deadlock.
  while (!m->done) {
    if (!self->sent.empty()) {
      auto incoming = self->sent.front();
      self->sent.pop_front();
      g.unlock();
      ProcessSentMessage(*self, incoming);
      g.lock();
      continue;
    }
    if (!target->alive) {
      break;
    }
    self->waiting = true;
    g.unlock();
    self->alarm.WaitUntil(std::numeric_limits<std::uint64_t>::max());
    g.lock();
    self->waiting = false;
  }
  return m->result;
}

}  // namespace

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd == HWND_BROADCAST) {
    std::vector<HWND> targets;
    {
      Guard g(Lock());
      for (Window* w : Desktop()->children) {
        targets.push_back(w->handle);
      }
    }
    for (HWND h : targets) {
      SendMessageW(h, Msg, wParam, lParam);
    }
    return 0;
  }
  const auto& self = CurrentQueue();
  std::shared_ptr<Queue> target;
  WNDPROC proc;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return 0;
    }
    target = w->queue;
    proc = w->proc;
  }
  if (target == nullptr) {
    return DefWindowProcW(hWnd, Msg, wParam, lParam);  // the desktop
  }
  if (target == self) {
    SpyOn(hWnd, Msg, wParam, lParam, false);
    return proc(hWnd, Msg, wParam, lParam);
  }
  return SendToOtherThread(self, target, hWnd, Msg, wParam, lParam);
}

BOOL SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto self = CurrentQueue();
  std::shared_ptr<Queue> target;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return FALSE;
    }
    target = w->queue;
    if (target && target != self) {
      auto m = std::make_shared<SentMessage>(SentMessage{hWnd, Msg, wParam, lParam, 0, false, false, nullptr});
      m->notify = true;
      target->sent.push_back(m);
      Wake(*target);
      return TRUE;
    }
  }
  SendMessageW(hWnd, Msg, wParam, lParam);
  return TRUE;
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd == nullptr) {
    return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
  }
  Guard g(Lock());
  if (hWnd == HWND_BROADCAST) {
    for (Window* w : Desktop()->children) {
      if (w->queue) {
        w->queue->posted.push_back(MakeMessage(w->handle, Msg, wParam, lParam));
        Wake(*w->queue);
      }
    }
    return TRUE;
  }
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return FALSE;
  }
  if (!w->queue) {
    return TRUE;  // the desktop takes and ignores it
  }
  w->queue->posted.push_back(MakeMessage(hWnd, Msg, wParam, lParam));
  if (w->queue->waiting) {
    std::shared_ptr<Queue> target = w->queue;
    g.unlock();
    target->alarm.Interrupt();
  }
  return TRUE;
}

BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (idThread == GetCurrentThreadId()) {
    CurrentQueue();
  }
  Guard g(Lock());
  auto q = QueueOfThread(idThread);
  if (!q) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  q->posted.push_back(MakeMessage(nullptr, Msg, wParam, lParam));
  if (q->waiting) {
    g.unlock();
    q->alarm.Interrupt();
  }
  return TRUE;
}

VOID PostQuitMessage(int nExitCode) {
  auto q = CurrentQueue();
  Guard g(Lock());
  q->quitPosted = true;
  q->quitCode = nExitCode;
  Wake(*q);
}

namespace {

bool CheckFilterWindow(HWND hWnd, const std::shared_ptr<Queue>& q) {
  if (hWnd == nullptr || hWnd == reinterpret_cast<HWND>(-1)) {
    return true;
  }
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  return w != nullptr && w->queue == q;
}

// A tap on a window of an inactive top-level window activates it first.
void ActivateOnClick(const MSG& msg) {
  if (msg.message != WM_LBUTTONDOWN && msg.message != WM_LBUTTONDBLCLK) {
    return;
  }
  HWND top = nullptr;
  {
    auto q = CurrentQueue();
    Guard g(Lock());
    Window* w = Find(msg.hwnd);
    while (w != nullptr && w->parent != nullptr && !IsTopLevel(w)) {
      w = w->parent;
    }
    if (w == nullptr || w->parent == nullptr || w->handle == q->active || (w->style & WS_DISABLED) ||
        (w->exStyle & WS_EX_NOACTIVATE)) {
      return;
    }
    top = w->handle;
  }
  SetActiveWindow(top);
}

}  // namespace

BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  const auto& q = CurrentQueue();
  if (lpMsg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!CheckFilterWindow(hWnd, q)) {
    return -1;
  }
  Retrieve(*q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE, true);
  ActivateOnClick(*lpMsg);
  CallGetMessageHook(lpMsg);
  return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  const auto& q = CurrentQueue();
  if (lpMsg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!CheckFilterWindow(hWnd, q)) {
    return FALSE;
  }
  if (!Retrieve(*q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg, false)) {
    return FALSE;
  }
  if (wRemoveMsg & PM_REMOVE) {
    ActivateOnClick(*lpMsg);
  }
  CallGetMessageHook(lpMsg);
  return TRUE;
}

BOOL WaitMessage() {
  auto q = CurrentQueue();
  MSG m;
  Retrieve(*q, &m, nullptr, 0, 0, PM_NOREMOVE, true);
  return TRUE;
}

DWORD GetQueueStatus(UINT flags) {
  auto q = CurrentQueue();
  Guard g(Lock());
  DWORD status = 0;
  if (!q->posted.empty() || q->quitPosted) {
    status |= QS_POSTMESSAGE;
  }
  if (!q->sent.empty()) {
    status |= QS_SENDMESSAGE;
  }
  for (const MSG& m : q->input) {
    status |= (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) ? QS_KEY
              : m.message == WM_MOUSEMOVE                            ? QS_MOUSEMOVE
                                                                     : QS_MOUSEBUTTON;
  }
  if (FindWindowToPaint(Desktop(), *q, nullptr) != nullptr) {
    status |= QS_PAINT;
  }
  const std::uint64_t now = Now();
  for (const Timer& t : q->timers) {
    if (t.due <= now) {
      status |= QS_TIMER;
    }
  }
  status &= flags;
  return (status << 16) | status;
}

BOOL InSendMessage() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return !q->receiving.empty() && !q->receiving.back()->notify && !q->receiving.back()->done;
}

DWORD InSendMessageEx(LPVOID) {
  auto q = CurrentQueue();
  Guard g(Lock());
  if (q->receiving.empty()) {
    return ISMEX_NOSEND;
  }
  const auto& m = q->receiving.back();
  DWORD result = m->notify ? ISMEX_NOTIFY : ISMEX_SEND;
  if (m->done && !m->notify) {
    result |= ISMEX_REPLIED;
  }
  return result;
}

BOOL ReplyMessage(LRESULT lResult) {
  auto q = CurrentQueue();
  Guard g(Lock());
  if (q->receiving.empty()) {
    return FALSE;
  }
  auto& m = q->receiving.back();
  if (m->done || m->notify) {
    return FALSE;
  }
  m->result = lResult;
  m->done = true;
  if (m->sender) {
    Wake(*m->sender);
  }
  return TRUE;
}

DWORD GetMessagePos() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return static_cast<DWORD>(MAKELONG(q->last.pt.x, q->last.pt.y));
}

LONG GetMessageTime() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return static_cast<LONG>(q->last.time);
}

DWORD MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
                                DWORD dwWakeMask) {
  std::vector<std::shared_ptr<vela::kernel::Waitable>> objects;
  if (!vela::kernel::LookupForWait(nCount, pHandles, fWaitAll != FALSE, true, objects)) {
    return WAIT_FAILED;
  }
  auto q = CurrentQueue();
  // Input is what is in the queue now, by GetQueueStatus's classes; a window timer wakes the
  // wait when it falls due. Marked waiting first, so a post after the look interrupts the wait.
  const DWORD result = vela::kernel::WaitForObjectsOrInput(
      objects, fWaitAll != FALSE, dwMilliseconds, q->alarm, [&](std::uint64_t& wakeAt) {
        {
          Guard g(Lock());
          q->waiting = true;
          for (const Timer& t : q->timers) {
            wakeAt = std::min(wakeAt, t.due);
          }
        }
        return (GetQueueStatus(dwWakeMask) & 0xFFFF) != 0;
      });
  Guard g(Lock());
  q->waiting = false;
  return result;
}

BOOL TranslateMessage(const MSG* lpMsg) {
  if (lpMsg == nullptr) {
    return FALSE;
  }
  switch (lpMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const WCHAR ch = CharacterOfKey(static_cast<UINT>(lpMsg->wParam));
      if (ch != 0) {
        auto q = CurrentQueue();
        Guard g(Lock());
        // The character comes next, ahead of anything posted meanwhile.
        q->posted.push_front(MakeMessage(lpMsg->hwnd, lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch,
                                         lpMsg->lParam));
      }
      return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT DispatchMessageW(const MSG* lpMsg) {
  if (lpMsg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto q = CurrentQueue();
  if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
    // Only a callback that really belongs to a timer of this thread is called.
    TIMERPROC proc = nullptr;
    {
      Guard g(Lock());
      for (const Timer& t : q->timers) {
        if (t.hwnd == lpMsg->hwnd && t.id == lpMsg->wParam && reinterpret_cast<LPARAM>(t.proc) == lpMsg->lParam) {
          proc = t.proc;
        }
      }
    }
    if (proc != nullptr) {
      proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, static_cast<DWORD>(Now()));
    }
    return 0;
  }
  if (lpMsg->hwnd == nullptr) {
    return 0;  // thread messages have no window procedure
  }
  WNDPROC proc;
  unsigned paints = 0;
  {
    Guard g(Lock());
    Window* w = FindOrFail(lpMsg->hwnd);
    if (w == nullptr) {
      return 0;
    }
    if (w->queue != q) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
    proc = w->proc;
    paints = w->paintCount;
  }
  SpyOn(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam, true);
  const LRESULT result = proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
  if (lpMsg->message == WM_PAINT) {
    // A procedure that never began painting would get WM_PAINT for ever: validate for it.
    Guard g(Lock());
    Window* w = Find(lpMsg->hwnd);
    if (w != nullptr && w->paintCount == paints) {
      w->update = {};
      w->erasePending = false;
      w->internalPaint = false;
    }
  }
  return result;
}
