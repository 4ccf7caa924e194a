// Per-thread hooks: WH_CBT (window creation, destruction, activation, focus), WH_MSGFILTER and
// WH_GETMESSAGE. The newest hook is called first and passes on with CallNextHookEx.
#include <windows.h>

#include <atomic>

#include "debug/DebugChannel.h"
#include "user/UserState.h"

using namespace vela::user;

namespace {

struct Hook {
  HHOOK handle;
  int type;
  HOOKPROC proc;
  DWORD threadId;
};

// Newest first. Guarded by the window manager's lock.
std::vector<Hook>& Hooks() {
  static auto* hooks = new std::vector<Hook>;
  return *hooks;
}

std::uintptr_t g_nextHook = 0x10;
// Lets message retrieval skip the look-up while no hook exists.
std::atomic<int> g_hookCount{0};

bool Supported(int type) { return type == WH_CBT || type == WH_MSGFILTER || type == WH_GETMESSAGE; }

// The first hook of type for the calling thread after `after` (nullptr: the first of all).
HOOKPROC NextHook(int type, HHOOK after, HHOOK* found) {
  Guard g(Lock());
  const DWORD thread = GetCurrentThreadId();
  bool passed = after == nullptr;
  for (const Hook& h : Hooks()) {
    if (h.type != type || h.threadId != thread) {
      continue;
    }
    if (passed) {
      *found = h.handle;
      return h.proc;
    }
    passed = h.handle == after;
  }
  return nullptr;
}

}  // namespace

HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId) {
  if (!Supported(idHook)) {
    vela::debug::WriteDebugChannel("SetWindowsHookEx: hook type not implemented\n");
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (lpfn == nullptr) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return nullptr;
  }
  // Hooks are per thread here; 0 (every thread) is taken as the calling thread.
  if (dwThreadId == 0) {
    dwThreadId = GetCurrentThreadId();
  }
  if (dwThreadId == GetCurrentThreadId()) {
    CurrentQueue();
  }
  Guard g(Lock());
  if (!QueueOfThread(dwThreadId)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const HHOOK handle = reinterpret_cast<HHOOK>(g_nextHook);
  g_nextHook += 0x10;
  Hooks().insert(Hooks().begin(), Hook{handle, idHook, lpfn, dwThreadId});
  ++g_hookCount;
  return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
  Guard g(Lock());
  auto& hooks = Hooks();
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->handle == hhk) {
      hooks.erase(it);
      --g_hookCount;
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_HOOK_HANDLE);
  return FALSE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
  int type = 0;
  {
    Guard g(Lock());
    bool known = false;
    for (const Hook& h : Hooks()) {
      if (h.handle == hhk) {
        type = h.type;
        known = true;
      }
    }
    if (!known) {
      return 0;
    }
  }
  HHOOK next = nullptr;
  HOOKPROC proc = NextHook(type, hhk, &next);
  return proc != nullptr ? proc(nCode, wParam, lParam) : 0;
}

BOOL CallMsgFilterW(LPMSG lpMsg, int nCode) {
  HHOOK first = nullptr;
  HOOKPROC proc = NextHook(WH_MSGFILTER, nullptr, &first);
  return proc != nullptr && proc(nCode, 0, reinterpret_cast<LPARAM>(lpMsg)) != 0;
}

namespace vela::user {

LRESULT CallCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (g_hookCount.load(std::memory_order_relaxed) == 0) {
    return 0;
  }
  HHOOK first = nullptr;
  HOOKPROC proc = NextHook(WH_CBT, nullptr, &first);
  return proc != nullptr ? proc(code, wParam, lParam) : 0;
}

void CallGetMessageHook(MSG* msg) {
  if (g_hookCount.load(std::memory_order_relaxed) == 0) {
    return;
  }
  HHOOK first = nullptr;
  HOOKPROC proc = NextHook(WH_GETMESSAGE, nullptr, &first);
  if (proc != nullptr) {
    proc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(msg));
  }
}

}  // namespace vela::user
