// Window slots (GetWindowLong/SetWindowLong) and the window text.
#include <windows.h>

#include <cstring>

#include "user/UserState.h"

using namespace vela::user;

namespace {

// The dialog manager's slots are pointer wide in a window that has room for them.
bool IsDialogSlot(const Window* w, int index) {
  return w->extra.size() >= DLGWINDOWEXTRA &&
         (index == DWL_MSGRESULT || index == DWL_DLGPROC || index == DWL_USER);
}

std::size_t SlotWidth(const Window* w, int index, bool pointerForm) {
  return (pointerForm || IsDialogSlot(w, index)) ? sizeof(LONG_PTR) : sizeof(LONG);
}

LONG_PTR ReadExtra(const Window* w, int index, std::size_t width) {
  if (width == sizeof(LONG)) {
    LONG value;
    std::memcpy(&value, w->extra.data() + index, sizeof value);
    return value;
  }
  LONG_PTR value;
  std::memcpy(&value, w->extra.data() + index, sizeof value);
  return value;
}

void WriteExtra(Window* w, int index, std::size_t width, LONG_PTR value) {
  if (width == sizeof(LONG)) {
    const LONG narrow = static_cast<LONG>(value);
    std::memcpy(w->extra.data() + index, &narrow, sizeof narrow);
  } else {
    std::memcpy(w->extra.data() + index, &value, sizeof value);
  }
}

LONG_PTR GetLong(HWND hWnd, int nIndex, bool pointerForm) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return 0;
  }
  switch (nIndex) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? (w->parent ? w->parent->handle : nullptr)
                                                              : (w->owner ? w->owner->handle : nullptr));
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return static_cast<LONG_PTR>(w->id);
    default: break;
  }
  const std::size_t width = nIndex >= 0 ? SlotWidth(w, nIndex, pointerForm) : 0;
  if (nIndex < 0 || static_cast<std::size_t>(nIndex) + width > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return ReadExtra(w, nIndex, width);
}

LONG_PTR SetLong(HWND hWnd, int nIndex, LONG_PTR value, bool pointerForm) {
  DWORD oldStyle = 0;
  DWORD newStyle = 0;
  LONG_PTR previous = 0;
  {
    Guard g(Lock());
    Window* w = FindOrFail(hWnd);
    if (w == nullptr) {
      return 0;
    }
    if (w->threadId != GetCurrentThreadId() && nIndex == GWL_WNDPROC) {
      SetLastError(ERROR_ACCESS_DENIED);  // a procedure only of the owning thread's process
      return 0;
    }
    switch (nIndex) {
      case GWL_WNDPROC:
        previous = reinterpret_cast<LONG_PTR>(w->proc);
        if (value == 0) {
          SetLastError(ERROR_INVALID_PARAMETER);
          return 0;
        }
        w->proc = reinterpret_cast<WNDPROC>(value);
        return previous;
      case GWL_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        return previous;
      case GWL_USERDATA:
        previous = w->userData;
        w->userData = value;
        return previous;
      case GWL_ID:
        previous = static_cast<LONG_PTR>(w->id);
        w->id = static_cast<UINT_PTR>(value);
        return previous;
      case GWL_HWNDPARENT: {
        previous = reinterpret_cast<LONG_PTR>(w->owner ? w->owner->handle : nullptr);
        if (!(w->style & WS_CHILD)) {
          w->owner = Find(reinterpret_cast<HWND>(value));
        }
        return previous;
      }
      case GWL_STYLE:
      case GWL_EXSTYLE:
        oldStyle = nIndex == GWL_STYLE ? w->style : w->exStyle;
        newStyle = static_cast<DWORD>(value);
        break;
      default: {
        const std::size_t width = nIndex >= 0 ? SlotWidth(w, nIndex, pointerForm) : 0;
        if (nIndex < 0 || static_cast<std::size_t>(nIndex) + width > w->extra.size()) {
          SetLastError(ERROR_INVALID_INDEX);
          return 0;
        }
        previous = ReadExtra(w, nIndex, width);
        WriteExtra(w, nIndex, width, value);
        // A zero previous value is told apart from a failure by the last error.
        SetLastError(ERROR_SUCCESS);
        return previous;
      }
    }
  }
  // Styles: the window hears of the change before and after.
  STYLESTRUCT ss{oldStyle, newStyle};
  SendMessageW(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&ss));
  {
    Guard g(Lock());
    Window* w = Find(hWnd);
    if (w == nullptr) {
      return 0;
    }
    if (nIndex == GWL_STYLE) {
      w->style = ss.styleNew;
    } else {
      w->exStyle = ss.styleNew;
    }
  }
  SendMessageW(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&ss));
  return static_cast<LONG_PTR>(static_cast<LONG>(oldStyle));
}

}  // namespace

LONG_PTR GetWindowLongW(HWND hWnd, int nIndex) { return GetLong(hWnd, nIndex, false); }
LONG_PTR SetWindowLongW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) { return SetLong(hWnd, nIndex, dwNewLong, false); }
LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex) { return GetLong(hWnd, nIndex, true); }
LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) { return SetLong(hWnd, nIndex, dwNewLong, true); }

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0;
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (lpString == nullptr || nMaxCount <= 0) {
    return 0;
  }
  lpString[0] = 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}
