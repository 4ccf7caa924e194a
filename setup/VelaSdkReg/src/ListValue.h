// Reading, editing and writing one directory-list value of the registry.
#pragma once

#include <windows.h>

#include <string>

namespace velasdkreg {

enum class ListEdit { Add, Remove };

enum class EditResult {
  Unchanged,    // nothing to do, or a value that cannot be read whole (too long, wrong type)
  Written,
  WriteFailed,
};

// A REG_BINARY value holding UTF-16 text with its terminating zero (the device platforms).
// maxBytes bounds both what is read and what is written, so a list written here can always
// be read back and undone.
EditResult EditWideList(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, const std::u16string& entry, ListEdit edit);

// A REG_SZ value of ANSI text (the desktop tools).
EditResult EditAnsiList(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, const std::string& entry, ListEdit edit);

}  // namespace velasdkreg
