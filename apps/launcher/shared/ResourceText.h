// Texts of the program's own string table.
#pragma once

#include <afxwin.h>

// The text, or an empty string when the table lacks it.
CString ResourceText(UINT id);
