// The registry's operations on UTF-16 names, shared by the W and A functions, which add the
// platform's buffer and size rules on top. Each returns the platform's error code.
#pragma once

#include <winreg.h>

#include <string>
#include <string_view>
#include <vector>

#include "registry/RegKeyTree.h"

namespace vela::registry {

LONG OpenKey(HKEY key, std::u16string_view subKey, bool create, HKEY* result, DWORD* disposition);
// Creation options other than REG_OPTION_NON_VOLATILE are ignored, as on the terminal; a line on
// the debug channel says so, since every key here persists.
void NoteIgnoredOptions(DWORD options);
LONG CloseKey(HKEY key);
LONG FlushKey(HKEY key);
// subKey empty deletes the key itself (never a predefined one); the subtree goes with it.
LONG DeleteKey(HKEY key, std::u16string_view subKey);

LONG QueryValue(HKEY key, std::u16string_view name, RegValue* value);
LONG SetValue(HKEY key, std::u16string_view name, DWORD type, std::vector<BYTE> data);
LONG DeleteValue(HKEY key, std::u16string_view name);

LONG SubkeyAt(HKEY key, DWORD index, std::u16string* name);
LONG ValueAt(HKEY key, DWORD index, RegValue* value);

struct KeyInfo {
  std::vector<std::u16string> subkeyNames;
  std::vector<std::u16string> valueNames;
  DWORD maxValueBytes = 0;
};
LONG QueryInfo(HKEY key, KeyInfo* info);

bool IsStringType(DWORD type);

// The data part of RegQueryValueEx and RegEnumValue: type and size are always reported; the
// data is copied only when it fits, else ERROR_MORE_DATA with the size needed.
LONG CopyValueData(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD size);

}  // namespace vela::registry
