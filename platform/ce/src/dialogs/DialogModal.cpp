// The modal loop of DialogBox and message boxes, and EndDialog.
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRecord.h"
#include "windlg.h"

namespace vela::dialogs {

INT_PTR RunModal(HWND dialog, HWND owner) {
  DialogRecord* record = FindDialog(dialog);
  if (record == nullptr) return -1;
  if (owner && owner != dialog && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    record->disabledOwner = owner;
  }
  if (!record->ended) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
  }
  INT_PTR result = 0;
  for (;;) {
    record = FindDialog(dialog);
    if (record == nullptr) break;  // destroyed from inside
    if (record->ended) {
      result = record->result;
      break;
    }
    MSG msg;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT ends the dialog and stays for the application's own loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      record = FindDialog(dialog);
      if (record) result = record->result;
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  record = FindDialog(dialog);
  if (record && record->disabledOwner) {
    EnableWindow(record->disabledOwner, TRUE);
    record->disabledOwner = nullptr;
  }
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

}  // namespace vela::dialogs

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
  using namespace vela::dialogs;
  DialogRecord* record = FindDialog(hDlg);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  record->ended = true;
  record->result = nResult;
  // The owner comes back before the dialog hides, so the activation returns to it.
  HWND owner = record->disabledOwner;
  if (owner) {
    record->disabledOwner = nullptr;
    EnableWindow(owner, TRUE);
  }
  ShowWindow(hDlg, SW_HIDE);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  // Wakes the modal loop if it is waiting for a message.
  PostMessageW(hDlg, WM_NULL, 0, 0);
  return TRUE;
}
