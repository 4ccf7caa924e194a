// What the dialog manager keeps per dialog besides the window's own slots: its font and base
// units, the default button, and the modal state EndDialog changes.
#pragma once

#include <vector>

#include "windows.h"

namespace vela::dialogs {

struct DialogRecord {
  HFONT font = nullptr;       // what WM_GETFONT answers
  HFONT ownedFont = nullptr;  // made from the template, deleted with the dialog
  int baseX = 0;  // pixels per 4 horizontal dialog units
  int baseY = 0;  // pixels per 8 vertical dialog units
  WORD defaultId = 0;
  bool hasDefaultId = false;
  HWND savedFocus = nullptr;
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HWND disabledOwner = nullptr;  // owner disabled by the modal loop, enabled again on the end
  // The template's controls in template order, which stays the keyboard order even where the
  // z-order differs (group boxes sit below the controls they frame).
  std::vector<HWND> templateOrder;
};

// The dialog's children in keyboard order: the template's controls first, then any others in
// z-order.
std::vector<HWND> KeyboardOrder(HWND dialog);

// The record of a dialog, nullptr for other windows.
DialogRecord* FindDialog(HWND hwnd);
DialogRecord* CreateDialogRecord(HWND hwnd);
void DestroyDialogRecord(HWND hwnd);

}  // namespace vela::dialogs
