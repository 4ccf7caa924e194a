// Focus, activation, capture and enabling. Focus and the active window are kept per thread;
// the foreground window (where keys go) once for the process.
#include <windows.h>

#include "user/Focus.h"
#include "user/UserState.h"

namespace vela::user {

namespace {
HWND g_foreground = nullptr;
}  // namespace

HWND ForegroundWindow() { return g_foreground; }

}  // namespace vela::user

using namespace vela::user;

namespace {

// The window of a handle when the calling thread owns it; focus, activation and capture are
// per thread. Sets the last error otherwise. Called under the lock.
Window* FindOwnWindow(HWND hWnd, const std::shared_ptr<Queue>& q) {
  Window* w = FindOrFail(hWnd);
  if (w != nullptr && w->queue != q) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return w;
}

Window* TopLevelOf(Window* w) {
  while (w != nullptr && w->parent != nullptr && !IsTopLevel(w)) {
    w = w->parent;
  }
  return w;
}

bool IsInTree(Window* root, Window* w) {
  for (; w != nullptr; w = w->parent) {
    if (w == root) {
      return true;
    }
  }
  return false;
}

// Another top-level window of the thread to take activation when the active one goes.
HWND NextActivationCandidate(Window* leaving) {
  for (Window* w : Desktop()->children) {
    if (w != leaving && w->queue == leaving->queue && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
        !(w->exStyle & WS_EX_NOACTIVATE) && !w->destroying) {
      return w->handle;
    }
  }
  return nullptr;
}

}  // namespace

HWND SetFocus(HWND hWnd) {
  auto q = CurrentQueue();
  HWND old;
  HWND top = nullptr;
  {
    Guard g(Lock());
    old = q->focus;
    if (hWnd != nullptr) {
      Window* w = FindOwnWindow(hWnd, q);
      if (w == nullptr) {
        return nullptr;
      }
      if (hWnd == old) {
        return old;
      }
      Window* t = TopLevelOf(w);
      if (t != nullptr && t->handle != q->active) {
        top = t->handle;
      }
    }
  }
  if (CallCbtHook(HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hWnd), reinterpret_cast<LPARAM>(old)) != 0) {
    return nullptr;
  }
  if (top != nullptr) {
    SetActiveWindow(top);
    Guard g(Lock());
    if (q->focus == hWnd) {
      return old;  // activation already gave it the focus
    }
    old = q->focus;
  }
  {
    Guard g(Lock());
    q->focus = hWnd;
  }
  if (old != nullptr && IsWindow(old)) {
    SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  }
  {
    Guard g(Lock());
    if (q->focus != hWnd) {
      return old;  // the old window moved the focus elsewhere meanwhile
    }
  }
  if (hWnd != nullptr) {
    SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

HWND GetFocus() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return Find(q->focus) != nullptr ? q->focus : nullptr;
}

HWND SetActiveWindow(HWND hWnd) {
  auto q = CurrentQueue();
  HWND old;
  {
    Guard g(Lock());
    old = q->active;
    if (hWnd != nullptr) {
      Window* w = FindOwnWindow(hWnd, q);
      if (w == nullptr) {
        return nullptr;
      }
      w = TopLevelOf(w);
      hWnd = w->handle;
    }
    if (hWnd == old) {
      if (hWnd != nullptr) {
        g_foreground = hWnd;
      }
      return old;
    }
  }
  if (CallCbtHook(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0) != 0) {
    return nullptr;
  }
  {
    Guard g(Lock());
    q->active = hWnd;
    if (hWnd != nullptr || g_foreground == old) {
      g_foreground = hWnd;
    }
    for (HWND h : {old, hWnd}) {
      if (Window* w = Find(h)) {
        w->framePending = w->framePending || ((w->style & WS_CAPTION) == WS_CAPTION);
      }
    }
  }
  if (old != nullptr && IsWindow(old)) {
    SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hWnd));
  }
  if (hWnd != nullptr) {
    SendMessageW(hWnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
  } else {
    // Nothing active: nothing has the focus either.
    bool hadFocus;
    {
      Guard g(Lock());
      hadFocus = q->focus != nullptr;
    }
    if (hadFocus) {
      SetFocus(nullptr);
    }
  }
  return old;
}

HWND GetActiveWindow() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return Find(q->active) != nullptr ? q->active : nullptr;
}

BOOL SetForegroundWindow(HWND hWnd) {
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return FALSE;
    }
    if (w->queue != CurrentQueue()) {
      // Another thread's window: it becomes the foreground; that thread activates it itself.
      g_foreground = TopLevelOf(w)->handle;
      w->queue->active = g_foreground;
      return TRUE;
    }
  }
  SetActiveWindow(hWnd);
  return TRUE;
}

HWND GetForegroundWindow() {
  Guard g(Lock());
  return Find(g_foreground) != nullptr ? g_foreground : nullptr;
}

HWND SetCapture(HWND hWnd) {
  auto q = CurrentQueue();
  HWND old;
  {
    Guard g(Lock());
    old = q->capture;
    if (hWnd != nullptr) {
      Window* w = FindOwnWindow(hWnd, q);
      if (w == nullptr) {
        return nullptr;
      }
    }
    q->capture = hWnd;
  }
  if (old != nullptr && old != hWnd && IsWindow(old)) {
    SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  }
  return Find(old) != nullptr ? old : nullptr;
}

BOOL ReleaseCapture() {
  auto q = CurrentQueue();
  HWND old;
  {
    Guard g(Lock());
    old = q->capture;
    q->capture = nullptr;
  }
  if (old != nullptr && IsWindow(old)) {
    SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  }
  return TRUE;
}

HWND GetCapture() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return Find(q->capture) != nullptr ? q->capture : nullptr;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  bool wasDisabled;
  bool focusInside = false;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return FALSE;
    }
    wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !bEnable) {
      return wasDisabled;
    }
    if (bEnable) {
      w->style &= ~WS_DISABLED;
    } else {
      w->style |= WS_DISABLED;
      if (w->queue) {
        focusInside = IsInTree(w, Find(w->queue->focus)) && w->queue == CurrentQueue();
        if (w->queue->capture == hWnd) {
          w->queue->capture = nullptr;
        }
      }
    }
  }
  // A disabled window cannot keep the focus (it goes before WM_ENABLE, as on the platform).
  if (focusInside) {
    SetFocus(nullptr);
  }
  SendMessageW(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
  Guard g(Lock());
  Window* w = Find(hWnd);
  return w != nullptr && !(w->style & WS_DISABLED);
}

namespace vela::user {

// A window went out of sight: the focus leaves it, and activation goes to another window.
void HandleHiddenWindow(HWND hwnd) {
  auto q = CurrentQueue();
  HWND newFocus = nullptr;
  bool moveFocus = false;
  HWND activate = nullptr;
  bool deactivate = false;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w == nullptr || w->queue != q) {
      return;
    }
    Window* focus = Find(q->focus);
    if (IsTopLevel(w)) {
      if (q->active == hwnd) {
        activate = NextActivationCandidate(w);
        deactivate = activate == nullptr;
      }
    } else if (focus != nullptr && IsInTree(w, focus)) {
      moveFocus = true;
      newFocus = w->parent->handle;
    }
  }
  if (moveFocus) {
    SetFocus(newFocus);
  }
  if (activate != nullptr) {
    SetActiveWindow(activate);
  } else if (deactivate) {
    SetActiveWindow(nullptr);
  }
}

void ForgetWindowInFocus(HWND hwnd) {
  auto q = CurrentQueue();
  bool focusInside = false;
  HWND parentFocus = nullptr;
  HWND activate = nullptr;
  bool wasActive = false;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w == nullptr) {
      return;
    }
    if (IsInTree(w, Find(q->capture))) {
      q->capture = nullptr;
    }
    focusInside = IsInTree(w, Find(q->focus));
    if (focusInside && !IsTopLevel(w)) {
      parentFocus = w->parent->handle;
    }
    if (q->active == hwnd) {
      wasActive = true;
      activate = NextActivationCandidate(w);
    }
  }
  if (wasActive) {
    if (activate != nullptr) {
      SetActiveWindow(activate);
    } else {
      SetActiveWindow(nullptr);
    }
  }
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    focusInside = w != nullptr && IsInTree(w, Find(q->focus));
  }
  if (focusInside) {
    SetFocus(parentFocus);
  }
}

}  // namespace vela::user
