// Building a dialog from its template: window, font, controls, WM_INITDIALOG, first focus.
#include <algorithm>
#include <string>

#include "dialogs/DialogManager.h"
#include "dialogs/DialogRecord.h"
#include "dialogs/DialogUnits.h"
#include "windlg.h"

namespace vela::dialogs {
namespace {

// Indirect templates carry no size; a dialog template is never near this large.
constexpr std::size_t kIndirectBound = 1 << 20;

std::u16string ClassNameOf(const NameOrOrdinal& name, const char16_t* fallback) {
  if (!name.present) return fallback;
  if (name.isOrdinal()) {
    const char16_t* predefined = PredefinedClassName(name.ordinal);
    return predefined ? predefined : u"";
  }
  return name.text;
}

// An ordinal title (an icon or bitmap id) travels as "\xFFFF" + ordinal, as on the platform.
std::u16string TitleOf(const NameOrOrdinal& title) {
  if (!title.present) return u"";
  if (title.isOrdinal()) return std::u16string{char16_t{0xFFFF}, static_cast<char16_t>(title.ordinal)};
  return title.text;
}

POINT Origin(const DialogTemplate& t, HWND owner, int x, int y, int width, int height) {
  int screenW = GetSystemMetrics(SM_CXSCREEN);
  int screenH = GetSystemMetrics(SM_CYSCREEN);
  POINT at{x, y};
  if (t.style & WS_CHILD) return at;
  if (t.style & DS_CENTER) {
    at = {(screenW - width) / 2, (screenH - height) / 2};
  } else if (owner && !(t.style & DS_ABSALIGN)) {
    ClientToScreen(owner, &at);
  }
  // Keep a popup dialog on the screen, as the platform does.
  at.x = std::max<LONG>(0, std::min<LONG>(at.x, screenW - width));
  at.y = std::max<LONG>(0, std::min<LONG>(at.y, screenH - height));
  return at;
}

bool IsButtonClass(HWND hwnd) {
  WCHAR name[16] = {};
  GetClassNameW(hwnd, name, 16);
  return std::u16string_view(name) == u"BUTTON";
}

bool CreateItems(HWND hwnd, HINSTANCE instance, const DialogTemplate& t, HFONT font, const BaseUnits& units,
                 DialogRecord* record) {
  for (const DialogItem& item : t.items) {
    std::u16string cls = ClassNameOf(item.windowClass, u"");
    std::u16string title = TitleOf(item.title);
    const void* creation = item.creationData.empty() ? nullptr : item.creationData.data();
    HWND control = CreateWindowExW(
        item.exStyle | WS_EX_NOPARENTNOTIFY, cls.c_str(), title.c_str(), item.style | WS_CHILD,
        DluToPixelsX(item.x, units), DluToPixelsY(item.y, units), DluToPixelsX(item.cx, units),
        DluToPixelsY(item.cy, units), hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
        const_cast<void*>(creation));
    if (control == nullptr) {
      if (!(t.style & DS_NOFAILCREATE)) return false;
      continue;
    }
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    record->templateOrder.push_back(control);
    // The template's default push button is the dialog's default id; a later one wins.
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
      if (record->hasDefaultId && record->defaultId != item.id) {
        HWND earlier = GetDlgItem(hwnd, record->defaultId);
        if (earlier) SendMessageW(earlier, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
      }
      record->defaultId = static_cast<WORD>(item.id);
      record->hasDefaultId = true;
    }
  }
  // Every window clips its siblings here, so a group box above the controls it frames would
  // hide them: group boxes go to the bottom. The keyboard keeps the template's order.
  for (HWND control : record->templateOrder) {
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) == DLGC_STATIC &&
        (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && IsButtonClass(control))
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return true;
}

}  // namespace

HWND OwnerWindow(HWND parent) {
  HWND owner = parent;
  while (owner && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
  return owner;
}

HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                        bool modal) {
  HFONT font = nullptr;
  bool ownsFont = false;
  if (t.hasFont) {
    font = CreateDialogFont(t.pointSize, t.weight, t.italic, t.charset, t.faceName);
    ownsFont = font != nullptr;
  }
  BaseUnits units = FontBaseUnits(font);

  DWORD style = t.style;
  DWORD exStyle = t.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (!(style & WS_CHILD)) style |= WS_CLIPSIBLINGS;
  RECT rect{0, 0, DluToPixelsX(t.cx, units), DluToPixelsY(t.cy, units)};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  HWND owner = (style & WS_CHILD) ? parent : OwnerWindow(parent);
  POINT at = Origin(t, owner, DluToPixelsX(t.x, units), DluToPixelsY(t.y, units), width, height);

  std::u16string cls = ClassNameOf(t.windowClass, kDialogClass);
  HWND hwnd = CreateWindowExW(exStyle, cls.c_str(), t.title.c_str(), style & ~WS_VISIBLE, at.x, at.y, width, height,
                              owner, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    if (ownsFont) DeleteObject(font);
    return nullptr;
  }
  DialogRecord* record = CreateDialogRecord(hwnd);
  record->font = font;
  record->ownedFont = ownsFont ? font : nullptr;
  record->baseX = units.x;
  record->baseY = units.y;
  record->modal = modal;
  SetWindowLongPtrW(hwnd, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  if (!CreateItems(hwnd, instance, t, font, units, record)) {
    DestroyWindow(hwnd);
    return nullptr;
  }

  HWND focus = GetNextDlgTabItem(hwnd, nullptr, FALSE);
  LRESULT setFocus = SendMessageW(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
  if (!IsWindow(hwnd)) return nullptr;
  if (setFocus && (!(t.style & DS_CONTROL) || (t.style & WS_VISIBLE))) {
    // WM_INITDIALOG may have changed the controls: look again.
    focus = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    if (focus)
      SetDialogFocus(hwnd, focus);
    else if (!(t.style & WS_CHILD))
      SetFocus(hwnd);
  }
  DialogRecord* after = FindDialog(hwnd);
  if ((t.style & WS_VISIBLE) && after && !after->ended) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
  }
  return hwnd;
}

std::optional<DialogTemplate> LoadDialogResource(HINSTANCE instance, LPCWSTR name) {
  HRSRC found = FindResourceW(static_cast<HMODULE>(instance), name, RT_DIALOG);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(static_cast<HMODULE>(instance), found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(static_cast<HMODULE>(instance), found);
  auto parsed = ParseDialogTemplate(data, size);
  if (!parsed) SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return parsed;
}

std::optional<DialogTemplate> ReadIndirectTemplate(const DLGTEMPLATE* data) {
  auto parsed = ParseDialogTemplate(data, kIndirectBound);
  if (!parsed) SetLastError(ERROR_INVALID_PARAMETER);
  return parsed;
}

}  // namespace vela::dialogs

using namespace vela::dialogs;

HWND CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc,
                                LPARAM dwInitParam) {
  auto parsed = ReadIndirectTemplate(lpTemplate);
  if (!parsed) return nullptr;
  return CreateFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam, false);
}

HWND CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
  auto parsed = LoadDialogResource(hInstance, lpTemplateName);
  if (!parsed) return nullptr;
  return CreateFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam, false);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  auto parsed = ReadIndirectTemplate(hDialogTemplate);
  if (!parsed) return -1;
  HWND hwnd = CreateFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam, true);
  if (hwnd == nullptr) return -1;
  return RunModal(hwnd, OwnerWindow(hWndParent));
}

INT_PTR DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
  auto parsed = LoadDialogResource(hInstance, lpTemplateName);
  if (!parsed) return -1;
  HWND hwnd = CreateFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam, true);
  if (hwnd == nullptr) return -1;
  return RunModal(hwnd, OwnerWindow(hWndParent));
}
