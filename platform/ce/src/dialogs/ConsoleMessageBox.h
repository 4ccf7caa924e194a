// Message boxes without a screen that a person watches: written to standard error.
#pragma once

#include "windlg.h"

namespace vela::dialogs {

bool MessageBoxesOnStandardError();

// Writes "[caption] text" and returns the box's default button.
int AnswerOnStandardError(LPCWSTR text, LPCWSTR caption, UINT type);

}  // namespace vela::dialogs
