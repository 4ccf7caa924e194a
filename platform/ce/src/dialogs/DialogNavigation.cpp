// Keyboard handling of dialogs: Tab and the arrow keys move among the controls, Enter is the
// default button, Escape is Cancel.
#include <vector>

#include "dialogs/DialogManager.h"
#include "dialogs/DialogRecord.h"
#include "windlg.h"

namespace {

std::vector<HWND> Children(HWND dialog) { return vela::dialogs::KeyboardOrder(dialog); }

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// By the control's own style: a dialog that is still hidden has its first focus chosen too.
bool CanTakeFocus(HWND hwnd) { return (Style(hwnd) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE; }

int IndexOf(const std::vector<HWND>& list, HWND hwnd) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == hwnd) return static_cast<int>(i);
  return -1;
}

bool IsDialogChild(HWND dialog, HWND hwnd) { return hwnd == dialog || IsChild(dialog, hwnd); }

// The child of the dialog that is hwnd or holds it.
HWND DirectChild(HWND dialog, HWND hwnd) {
  while (hwnd && GetParent(hwnd) != dialog) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  if (!IsWindow(hDlg)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<HWND> list = Children(hDlg);
  int n = static_cast<int>(list.size());
  if (n == 0) return nullptr;
  int start = hCtl ? IndexOf(list, DirectChild(hDlg, hCtl)) : -1;
  int step = bPrevious ? -1 : 1;
  int i = start < 0 ? (bPrevious ? 0 : n - 1) : start;
  for (int k = 0; k < n; ++k) {
    i = (i + step + n) % n;
    if ((Style(list[i]) & WS_TABSTOP) && CanTakeFocus(list[i])) return list[i];
  }
  return hCtl;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  if (!IsWindow(hDlg)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<HWND> list = Children(hDlg);
  int n = static_cast<int>(list.size());
  if (n == 0) return nullptr;
  int at = hCtl ? IndexOf(list, DirectChild(hDlg, hCtl)) : 0;
  if (at < 0) at = 0;
  // The group runs from the nearest WS_GROUP at or before the control to the next WS_GROUP.
  int first = at;
  while (first > 0 && !(Style(list[first]) & WS_GROUP)) --first;
  int last = at + 1;
  while (last < n && !(Style(list[last]) & WS_GROUP)) ++last;
  int size = last - first;
  int i = at - first;
  for (int k = 1; k < size; ++k) {
    int j = first + ((i + (bPrevious ? -k : k)) % size + size) % size;
    if (CanTakeFocus(list[j])) return list[j];
  }
  return hCtl;
}

BOOL IsDialogMessageW(HWND hDlg, struct tagMSG* lpMsg) {
  if (lpMsg == nullptr || hDlg == nullptr) return FALSE;
  if (!IsDialogChild(hDlg, lpMsg->hwnd)) return FALSE;
  if (CallMsgFilterW(lpMsg, MSGF_DIALOGBOX)) return TRUE;

  if (lpMsg->message == WM_KEYDOWN) {
    LRESULT code = SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
    if (!(code & DLGC_WANTMESSAGE)) {
      switch (lpMsg->wParam) {
        case VK_TAB:
          if (!(code & DLGC_WANTTAB)) {
            SendMessageW(hDlg, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
            return TRUE;
          }
          break;
        case VK_RIGHT:
        case VK_DOWN:
        case VK_LEFT:
        case VK_UP:
          if (!(code & DLGC_WANTARROWS)) {
            BOOL previous = lpMsg->wParam == VK_LEFT || lpMsg->wParam == VK_UP;
            HWND next = GetNextDlgGroupItem(hDlg, lpMsg->hwnd, previous);
            if (next && SendMessageW(next, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg)) ==
                            (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
              SetFocus(next);
              if ((Style(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
                SendMessageW(next, BM_CLICK, 1, 0);
            } else if (next) {
              SendMessageW(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), 1);
            }
            return TRUE;
          }
          break;
        case VK_ESCAPE:
          SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
          return TRUE;
        case VK_RETURN: {
          HWND focus = GetFocus();
          if (focus && IsChild(hDlg, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
            SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
            return TRUE;
          }
          LRESULT def = SendMessageW(hDlg, DM_GETDEFID, 0, 0);
          if (HIWORD(def) == DC_HASDEFID) {
            HWND button = GetDlgItem(hDlg, LOWORD(def));
            if (button == nullptr || IsWindowEnabled(button))
              SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(LOWORD(def), BN_CLICKED), reinterpret_cast<LPARAM>(button));
          } else {
            SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
          }
          return TRUE;
        }
        default:
          break;
      }
    }
  }
  TranslateMessage(lpMsg);
  DispatchMessageW(lpMsg);
  return TRUE;
}
