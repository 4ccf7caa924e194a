// Creating and destroying windows, with the platform's message order: the creation hook, then
// WM_CREATE, WM_SIZE and WM_MOVE; on destruction WM_DESTROY to the window before its children.
#include <windows.h>

#include <algorithm>

#include "gdi/IconRecords.h"
#include "user/SystemClasses.h"
#include "user/UserState.h"
#include "user/WindowClasses.h"
#include "user/WindowPlacement.h"

using namespace vela::user;

namespace {

void Unlink(Window* w) {
  if (w->parent != nullptr) {
    std::erase(w->parent->children, w);
  }
}

// Frees a window whose WM_DESTROY has been sent (lock held).
void FreeTree(Window* w, std::vector<Window*>& freed) {
  for (Window* child : w->children) {
    FreeTree(child, freed);
  }
  w->dead = true;
  if (w->queue) {
    RemoveTimersOf(*w->queue, w->handle);
  }
  --w->cls->windows;
  ReleaseHandle(w->handle);
  freed.push_back(w);
}

void CollectTree(Window* w, std::vector<HWND>& out) {
  out.push_back(w->handle);
  for (Window* child : w->children) {
    CollectTree(child, out);
  }
}

}  // namespace

HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
  EnsureSystemClasses();
  PaintDesktop();
  const auto& queue = CurrentQueue();
  HWND hwnd;
  CREATESTRUCTW cs{};
  {
    Guard g(Lock());
    auto cls = FindClass(lpClassName, hInstance);
    if (!cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    Window* parent = nullptr;
    Window* owner = nullptr;
    if (hWndParent != nullptr && hWndParent != HWND_BROADCAST) {
      parent = FindOrFail(hWndParent);
      if (parent == nullptr) {
        return nullptr;
      }
    }
    if (dwStyle & WS_CHILD) {
      if (parent == nullptr) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
      }
    } else {
      // A top-level window's "parent" is its owner; ownership goes to the owner's top-level window.
      if (parent != nullptr) {
        owner = parent;
        while (owner->parent != nullptr && !IsTopLevel(owner)) {
          owner = owner->parent;
        }
        if (owner == Desktop()) {
          owner = nullptr;
        }
      }
      parent = Desktop();
    }

    const bool child = (dwStyle & WS_CHILD) != 0;
    if (!child) {
      // Top-level windows of the platform always clip their siblings; WS_CAPTION ones are
      // overlapped (never WS_CHILD), popups keep what they were given.
      dwStyle |= WS_CLIPSIBLINGS;
    }
    const int screenWidth = Desktop()->rect.right;
    const int screenHeight = Desktop()->rect.bottom;
    if (X == CW_USEDEFAULT) {
      X = 0;
      if (!child && !(dwStyle & WS_POPUP)) {
        Y = 0;
      }
    }
    if (Y == CW_USEDEFAULT) {
      Y = 0;
    }
    if (nWidth == CW_USEDEFAULT) {
      if (child) {
        nWidth = 0;
        nHeight = 0;
      } else {
        nWidth = screenWidth - X;
        nHeight = screenHeight - Y;
      }
    }
    if (nHeight == CW_USEDEFAULT) {
      nHeight = child ? 0 : screenHeight - Y;
    }
    nWidth = std::max(nWidth, 0);
    nHeight = std::max(nHeight, 0);

    auto* w = new Window;
    w->cls = cls;
    ++cls->windows;
    w->parent = parent;
    w->owner = owner;
    w->style = dwStyle & ~WS_VISIBLE;  // shown after creation, as ShowWindow would
    w->exStyle = dwExStyle;
    w->proc = cls->proc;
    w->id = child ? reinterpret_cast<UINT_PTR>(hMenu) : 0;
    w->instance = hInstance;
    if (lpWindowName != nullptr && !IS_INTRESOURCE(lpWindowName)) {
      w->text = lpWindowName;
    }
    w->rect = {X, Y, X + nWidth, Y + nHeight};
    w->extra.assign(static_cast<std::size_t>(cls->cbWndExtra), 0);
    w->queue = queue;
    w->threadId = queue->threadId;
    w->handle = NewHandle(w);
    // A child goes below its siblings, so the creation order is the tab order of a dialog.
    InsertInZOrder(w, child ? HWND_BOTTOM : HWND_TOP);
    hwnd = w->handle;

    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = hWndParent;
    cs.cy = nHeight;
    cs.cx = nWidth;
    cs.y = Y;
    cs.x = X;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = lpClassName;
    cs.dwExStyle = dwExStyle;
  }

  // The hook sees the window before it gets any message; it may veto the creation.
  CBT_CREATEWNDW cbt{&cs, HWND_TOP};
  if (CallCbtHook(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt)) != 0) {
    DestroyWindow(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }

  if (SendLocal(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  RECT client;
  POINT position;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w == nullptr) {
      // Destroyed from inside WM_CREATE.
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    w->created = true;
    client = ClientRectInWindow(w);
    position = {w->rect.left + client.left, w->rect.top + client.top};
  }
  SendLocal(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  SendLocal(hwnd, WM_MOVE, 0, MAKELPARAM(position.x, position.y));
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (dwStyle & WS_VISIBLE) {
    ShowWindow(hwnd, SW_SHOW);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hWnd) {
  std::vector<HWND> owned;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr || w == Desktop()) {
      if (w != nullptr) {
        SetLastError(ERROR_ACCESS_DENIED);
      }
      return FALSE;
    }
    if (w->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->destroying) {
      return TRUE;  // already on its way (DestroyWindow from inside WM_DESTROY)
    }
    w->destroying = true;
    for (Window* top : Desktop()->children) {
      if (top->owner == w) {
        owned.push_back(top->handle);
      }
    }
  }
  CallCbtHook(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hWnd), 0);

  // Out of sight first: what it covered is painted again by the windows below.
  if (IsWindowVisible(hWnd)) {
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (HWND o : owned) {
    DestroyWindow(o);
  }
  ForgetWindowInFocus(hWnd);

  // WM_DESTROY to the window, then to its children, each of them still whole.
  std::vector<HWND> tree;
  {
    Guard g(Lock());
    Window* w = Find(hWnd);
    if (w == nullptr) {
      return TRUE;
    }
    CollectTree(w, tree);
  }
  for (HWND h : tree) {
    {
      Guard g(Lock());
      Window* w = Find(h);
      if (w == nullptr) {
        continue;
      }
      w->destroying = true;
    }
    SendLocal(h, WM_DESTROY, 0, 0);
  }

  std::vector<Window*> freed;
  {
    Guard g(Lock());
    Window* w = Find(hWnd);
    if (w == nullptr) {
      return TRUE;
    }
    Unlink(w);
    FreeTree(w, freed);
    // Popups it owned and that outlived it (other threads') lose their owner.
    for (Window* top : Desktop()->children) {
      if (top->owner == w) {
        top->owner = nullptr;
      }
    }
    for (Window* f : freed) {
      delete f;
    }
  }
  for (HWND h : tree) {
    vela::gdi::ForgetIconsDrawnIn(h);
  }
  PaintDesktop();
  return TRUE;
}

BOOL IsWindow(HWND hWnd) {
  Guard g(Lock());
  return Find(hWnd) != nullptr;
}
