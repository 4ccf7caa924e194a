// The dialog class's window procedure: the application's dialog procedure first, then the
// dialog manager's defaults (background, default button, focus, Close as Cancel).
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRecord.h"
#include "user/SystemClasses.h"
#include "windlg.h"

namespace vela::dialogs {
namespace {

// Messages whose result is the dialog procedure's return value rather than DWL_MSGRESULT.
bool ReturnsProcResult(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

bool IsPushButton(HWND hwnd) {
  if (hwnd == nullptr) return false;
  LRESULT code = SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The first child with the default push button style, for dialogs that never set an id.
HWND FindDefaultButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return child;
  }
  return nullptr;
}

void SetButtonLook(HWND button, bool isDefault) {
  if (button == nullptr) return;
  LRESULT code = SendMessageW(button, WM_GETDLGCODE, 0, 0);
  if (isDefault && (code & DLGC_UNDEFPUSHBUTTON) && (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON)
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  else if (!isDefault && (code & DLGC_DEFPUSHBUTTON))
    SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

LRESULT DefaultColor(UINT message, WPARAM wParam) {
  HDC hdc = reinterpret_cast<HDC>(wParam);
  int face = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
  SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(hdc, GetSysColor(face));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
}

LRESULT Defaults(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogRecord* record = FindDialog(hwnd);
  switch (message) {
    case WM_ERASEBKGND: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
      if (brush == nullptr) brush = GetSysColorBrush(COLOR_BTNFACE);
      RECT rect;
      GetClientRect(hwnd, &rect);
      FillRect(hdc, &rect, brush);
      return 1;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return DefaultColor(message, wParam);
    case WM_SETFONT:
      if (record && wParam) record->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(record ? record->font : nullptr);
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(hwnd, IDCANCEL);
      if (cancel == nullptr || IsWindowEnabled(cancel))
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_SETFOCUS: {
      // Back to the control that had the focus, else the first tab stop.
      HWND target = record && record->savedFocus && IsWindow(record->savedFocus) && IsChild(hwnd, record->savedFocus)
                        ? record->savedFocus
                        : GetNextDlgTabItem(hwnd, nullptr, FALSE);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_KILLFOCUS:
      return 0;
    case WM_SHOWWINDOW:
      if (!wParam && record) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) record->savedFocus = focus;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case DM_SETDEFID: {
      if (record == nullptr) return FALSE;
      HWND old = record->hasDefaultId ? GetDlgItem(hwnd, record->defaultId) : FindDefaultButton(hwnd);
      HWND next = GetDlgItem(hwnd, static_cast<int>(wParam));
      if (old && old != next) SetButtonLook(old, false);
      if (next) SetButtonLook(next, true);
      record->defaultId = static_cast<WORD>(wParam);
      record->hasDefaultId = true;
      return TRUE;
    }
    case DM_GETDEFID: {
      if (record && record->hasDefaultId) return MAKELONG(record->defaultId, DC_HASDEFID);
      HWND button = FindDefaultButton(hwnd);
      if (button) return MAKELONG(GetDlgCtrlID(button), DC_HASDEFID);
      return 0;
    }
    case DM_REPOSITION:
      return 0;
    case WM_NEXTDLGCTL: {
      HWND target = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
      if (target) SetDialogFocus(hwnd, target);
      return 0;
    }
    case WM_DESTROY: {
      if (record && record->disabledOwner) {
        EnableWindow(record->disabledOwner, TRUE);
        record->disabledOwner = nullptr;
      }
      // Only the template's font: one an application set with WM_SETFONT stays its own.
      HFONT font = record ? record->ownedFont : nullptr;
      DestroyDialogRecord(hwnd);
      if (font) DeleteObject(font);
      return 0;
    }
    case WM_GETDLGCODE:
      return 0;
    case WM_COMMAND:
    case WM_INITDIALOG:
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

void RegisterDialogClass() {
  WNDCLASSW wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = DefDlgProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = kDialogClass;
  RegisterClassW(&wc);
  // The same class under its atom, for windows created with WC_DIALOG.
  wc.lpszClassName = WC_DIALOG;
  RegisterClassW(&wc);
}

const vela::user::SystemClassRegistration registration(RegisterDialogClass);

}  // namespace

void SetDialogFocus(HWND dialog, HWND control) {
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
  // A focused push button shows as the default; elsewhere the dialog's default button does.
  DialogRecord* record = FindDialog(dialog);
  HWND declared = record && record->hasDefaultId ? GetDlgItem(dialog, record->defaultId) : nullptr;
  HWND previous = GetFocus();
  if (IsPushButton(control)) {
    if (previous && previous != control && IsPushButton(previous) && IsChild(dialog, previous))
      SetButtonLook(previous, false);
    else if (declared && declared != control)
      SetButtonLook(declared, false);
    SetButtonLook(control, true);
  } else if (previous && IsPushButton(previous) && previous != declared && IsChild(dialog, previous)) {
    SetButtonLook(previous, false);
    if (declared) SetButtonLook(declared, true);
  }
  SetFocus(control);
}

}  // namespace vela::dialogs

LRESULT DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hDlg, DWL_DLGPROC));
  if (proc) {
    SetWindowLongPtrW(hDlg, DWL_MSGRESULT, 0);
    INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
    if (!IsWindow(hDlg)) return handled;
    // The dialog manager's own clean-up runs whatever the procedure answered.
    if (Msg == WM_DESTROY) {
      vela::dialogs::Defaults(hDlg, Msg, wParam, lParam);
      return handled ? GetWindowLongPtrW(hDlg, DWL_MSGRESULT) : 0;
    }
    if (vela::dialogs::ReturnsProcResult(Msg)) {
      if (handled || Msg == WM_INITDIALOG) return handled;
    } else if (handled) {
      return GetWindowLongPtrW(hDlg, DWL_MSGRESULT);
    }
  }
  return vela::dialogs::Defaults(hDlg, Msg, wParam, lParam);
}
