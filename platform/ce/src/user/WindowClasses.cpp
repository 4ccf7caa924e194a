// Window classes: registered per module instance; CS_GLOBALCLASS classes (the platform's own
// among them) are found from every module.
#include <windows.h>

#include <atomic>
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "user/SystemClasses.h"
#include "user/UserState.h"
#include "user/WindowClasses.h"

namespace vela::user {

namespace {

std::vector<SystemClassRegistrar>& Registrars() {
  static auto* registrars = new std::vector<SystemClassRegistrar>;
  return *registrars;
}

std::atomic<bool> g_systemClassesDone{false};

std::vector<std::shared_ptr<WindowClass>>& Classes() {
  static auto* classes = new std::vector<std::shared_ptr<WindowClass>>;
  return *classes;
}

ATOM g_nextAtom = 0xC000;

bool NameMatches(const WindowClass& c, LPCWSTR name) {
  if (IS_INTRESOURCE(name)) {
    return c.atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
  }
  return _wcsicmp(c.name.c_str(), name) == 0;
}

}  // namespace

SystemClassRegistration::SystemClassRegistration(SystemClassRegistrar registrar) {
  Registrars().push_back(registrar);
}

void EnsureSystemClasses() {
  if (g_systemClassesDone.load(std::memory_order_acquire)) {
    return;
  }
  // Recursive: a registrar calls RegisterClassW, which comes back here.
  static std::recursive_mutex mutex;
  static bool running = false;
  std::lock_guard lock(mutex);
  if (g_systemClassesDone.load(std::memory_order_relaxed) || running) {
    return;
  }
  running = true;
  for (std::size_t i = 0; i < Registrars().size(); ++i) {
    Registrars()[i]();
  }
  running = false;
  g_systemClassesDone.store(true, std::memory_order_release);
}

std::shared_ptr<WindowClass> FindClass(LPCWSTR name, HINSTANCE instance) {
  if (name == nullptr) {
    return nullptr;
  }
  auto& classes = Classes();
  for (auto& c : classes) {
    if (!c->global && c->instance == instance && NameMatches(*c, name)) {
      return c;
    }
  }
  for (auto& c : classes) {
    if (c->global && NameMatches(*c, name)) {
      return c;
    }
  }
  // A local class of another module: the platform finds it too when no better match exists.
  for (auto& c : classes) {
    if (NameMatches(*c, name)) {
      return c;
    }
  }
  return nullptr;
}

}  // namespace vela::user

using namespace vela::user;

ATOM RegisterClassW(const WNDCLASSW* wc) {
  EnsureSystemClasses();
  if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr || wc->cbClsExtra < 0 ||
      wc->cbWndExtra < 0 || (!IS_INTRESOURCE(wc->lpszClassName) && wc->lpszClassName[0] == 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Guard g(Lock());
  const bool global = (wc->style & CS_GLOBALCLASS) != 0;
  for (auto& c : Classes()) {
    if (NameMatches(*c, wc->lpszClassName) && (c->global || global || c->instance == wc->hInstance)) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto c = std::make_shared<WindowClass>();
  if (IS_INTRESOURCE(wc->lpszClassName)) {
    c->atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(wc->lpszClassName));
  } else {
    c->name = wc->lpszClassName;
    c->atom = g_nextAtom == 0 ? 0xC000 : g_nextAtom++;
  }
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->cbClsExtra = wc->cbClsExtra;
  c->cbWndExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->menuName = wc->lpszMenuName;
  c->global = global;
  c->extra.assign(static_cast<std::size_t>(wc->cbClsExtra), 0);
  Classes().push_back(c);
  return c->atom;
}

BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  EnsureSystemClasses();
  Guard g(Lock());
  auto& classes = Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    auto& c = *it;
    if (NameMatches(*c, lpClassName) && (c->instance == hInstance || c->global)) {
      if (c->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
      }
      classes.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
  return FALSE;
}

BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass) {
  EnsureSystemClasses();
  if (lpWndClass == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Guard g(Lock());
  auto c = FindClass(lpClassName, hInstance);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  lpWndClass->style = c->style;
  lpWndClass->lpfnWndProc = c->proc;
  lpWndClass->cbClsExtra = c->cbClsExtra;
  lpWndClass->cbWndExtra = c->cbWndExtra;
  lpWndClass->hInstance = hInstance;
  lpWndClass->hIcon = c->icon;
  lpWndClass->hCursor = c->cursor;
  lpWndClass->hbrBackground = c->background;
  lpWndClass->lpszMenuName = c->menuName;
  // Points into the class, which lives until it is unregistered.
  lpWndClass->lpszClassName = IS_INTRESOURCE(lpClassName) ? lpClassName : c->name.c_str();
  return TRUE;
}

namespace {

ULONG_PTR ReadClassLong(HWND hWnd, int nIndex) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return 0;
  }
  WindowClass& c = *w->cls;
  switch (nIndex) {
    case GCL_STYLE: return c.style;
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCL_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCL_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.cbWndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c.cbClsExtra);
    case GCL_MENUNAME: return reinterpret_cast<ULONG_PTR>(c.menuName);
    case GCW_ATOM: return c.atom;
    default: break;
  }
  if (nIndex >= 0 && static_cast<std::size_t>(nIndex) + sizeof(LONG) <= c.extra.size()) {
    LONG value;
    std::memcpy(&value, c.extra.data() + nIndex, sizeof value);
    return static_cast<ULONG_PTR>(static_cast<LONG_PTR>(value));
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

ULONG_PTR WriteClassLong(HWND hWnd, int nIndex, LONG_PTR value) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return 0;
  }
  WindowClass& c = *w->cls;
  ULONG_PTR old = 0;
  auto swap = [&](auto& field, auto newValue) {
    if constexpr (std::is_pointer_v<std::decay_t<decltype(field)>>) {
      old = reinterpret_cast<ULONG_PTR>(field);
    } else {
      old = static_cast<ULONG_PTR>(field);
    }
    field = newValue;
  };
  switch (nIndex) {
    case GCL_STYLE: swap(c.style, static_cast<UINT>(value)); return old;
    case GCL_HBRBACKGROUND: swap(c.background, reinterpret_cast<HBRUSH>(value)); return old;
    case GCL_WNDPROC: swap(c.proc, reinterpret_cast<WNDPROC>(value)); return old;
    case GCL_HICON: swap(c.icon, reinterpret_cast<HICON>(value)); return old;
    case GCL_HCURSOR: swap(c.cursor, reinterpret_cast<HCURSOR>(value)); return old;
    case GCL_HMODULE: swap(c.instance, reinterpret_cast<HINSTANCE>(value)); return old;
    case GCL_CBWNDEXTRA:
    case GCL_CBCLSEXTRA:
    case GCW_ATOM:
    case GCL_MENUNAME:
      // Sizes and the atom are fixed once windows of the class exist.
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    default: break;
  }
  if (nIndex >= 0 && static_cast<std::size_t>(nIndex) + sizeof(LONG) <= c.extra.size()) {
    LONG previous;
    std::memcpy(&previous, c.extra.data() + nIndex, sizeof previous);
    const LONG stored = static_cast<LONG>(value);
    std::memcpy(c.extra.data() + nIndex, &stored, sizeof stored);
    return static_cast<ULONG_PTR>(static_cast<LONG_PTR>(previous));
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

}  // namespace

ULONG_PTR GetClassLongW(HWND hWnd, int nIndex) { return ReadClassLong(hWnd, nIndex); }
ULONG_PTR SetClassLongW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) { return WriteClassLong(hWnd, nIndex, dwNewLong); }
ULONG_PTR GetClassLongPtrW(HWND hWnd, int nIndex) { return ReadClassLong(hWnd, nIndex); }
ULONG_PTR SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) { return WriteClassLong(hWnd, nIndex, dwNewLong); }

int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  Guard g(Lock());
  Window* w = FindOrFail(hWnd);
  if (w == nullptr) {
    return 0;
  }
  if (lpClassName == nullptr || nMaxCount <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string& name = w->cls->name;
  const int n = std::min<int>(static_cast<int>(name.size()), nMaxCount - 1);
  std::memcpy(lpClassName, name.data(), static_cast<std::size_t>(n) * sizeof(WCHAR));
  lpClassName[n] = 0;
  return n;
}
