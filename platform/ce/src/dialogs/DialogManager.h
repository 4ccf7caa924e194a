// The dialog manager's internal steps shared by the public dialog functions and message boxes.
#pragma once

#include <optional>

#include "dialogs/DialogTemplate.h"
#include "windows.h"

namespace vela::dialogs {

// The system dialog class name; WC_DIALOG, its atom, names the same class.
inline constexpr const char16_t* kDialogClass = u"#32770";

// Creates the dialog and its controls, sends WM_SETFONT and WM_INITDIALOG, sets the focus and
// shows it when the template says WS_VISIBLE (or always, for a modal one, by the caller).
// nullptr when the window or, without DS_NOFAILCREATE, a control cannot be created.
HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& dialog, HWND parent, DLGPROC proc, LPARAM param,
                        bool modal);

// The template of a module's RT_DIALOG resource; sets the last error when there is none.
std::optional<DialogTemplate> LoadDialogResource(HINSTANCE instance, LPCWSTR name);

// An in-memory template of unknown length: read within a generous bound.
std::optional<DialogTemplate> ReadIndirectTemplate(const DLGTEMPLATE* data);

// Runs the modal loop of a dialog made by CreateFromTemplate(..., modal = true) until
// EndDialog or WM_QUIT (which is posted again), then destroys it and returns the result.
INT_PTR RunModal(HWND dialog, HWND owner);

// The top-level window that owns a dialog created for parent.
HWND OwnerWindow(HWND parent);

// Moves the focus to control as the dialog manager does: select all text of an edit and
// move the default-button look.
void SetDialogFocus(HWND dialog, HWND control);

}  // namespace vela::dialogs
