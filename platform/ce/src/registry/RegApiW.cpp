// The registry functions, UTF-16 forms: argument checks and the platform's buffer rules.
#include <winreg.h>

#include <algorithm>
#include <cstring>

#include "registry/RegAccess.h"

using namespace vela::registry;

namespace {

std::u16string_view Text(LPCWSTR text) { return text ? std::u16string_view(text) : std::u16string_view(); }

// Copies a name with its terminator into a buffer of *count characters. Too small a buffer
// leaves buffer and count alone.
LONG CopyName(std::u16string_view name, LPWSTR buffer, LPDWORD count) {
  if (*count <= name.size()) return ERROR_MORE_DATA;
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = 0;
  *count = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

void NoClass(LPWSTR cls, LPDWORD count) {
  if (!count) return;
  if (cls && *count > 0) cls[0] = 0;
  *count = 0;
}

}  // namespace

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  return OpenKey(hKey, Text(lpSubKey), false, phkResult, nullptr);
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPVOID lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  NoteIgnoredOptions(dwOptions);
  return OpenKey(hKey, Text(lpSubKey), true, phkResult, lpdwDisposition);
}

LONG RegCloseKey(HKEY hKey) { return CloseKey(hKey); }

LONG RegFlushKey(HKEY hKey) { return FlushKey(hKey); }

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return DeleteKey(hKey, lpSubKey);
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  RegValue value;
  if (const LONG status = QueryValue(hKey, Text(lpValueName), &value); status != ERROR_SUCCESS) return status;
  return CopyValueData(value, lpType, lpData, lpcbData);
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData) {
  if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
  std::vector<BYTE> data(lpData, lpData + (lpData ? cbData : 0));
  return SetValue(hKey, Text(lpValueName), dwType, std::move(data));
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) { return DeleteValue(hKey, Text(lpValueName)); }

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  std::u16string name;
  if (const LONG status = SubkeyAt(hKey, dwIndex, &name); status != ERROR_SUCCESS) return status;
  if (const LONG status = CopyName(name, lpName, lpcchName); status != ERROR_SUCCESS) return status;
  NoClass(lpClass, lpcchClass);
  return ERROR_SUCCESS;
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                   LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData)) {
    return ERROR_INVALID_PARAMETER;
  }
  RegValue value;
  if (const LONG status = ValueAt(hKey, dwIndex, &value); status != ERROR_SUCCESS) return status;
  // The size and type are reported even when the name does not fit, as the platform does.
  if (*lpcchValueName <= value.name.size()) {
    CopyValueData(value, lpType, nullptr, lpcbData);
    return ERROR_MORE_DATA;
  }
  if (const LONG status = CopyValueData(value, lpType, lpData, lpcbData); status != ERROR_SUCCESS) return status;
  return CopyName(value.name, lpValueName, lpcchValueName);
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                      LPDWORD lpcSubKeys, LPDWORD lpcchMaxSubKeyLen, LPDWORD lpcchMaxClassLen,
                      LPDWORD lpcValues, LPDWORD lpcchMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                      LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  if (lpReserved) return ERROR_INVALID_PARAMETER;
  KeyInfo info;
  if (const LONG status = QueryInfo(hKey, &info); status != ERROR_SUCCESS) return status;
  auto longest = [](const std::vector<std::u16string>& names) {
    std::size_t n = 0;
    for (const auto& name : names) n = std::max(n, name.size());
    return static_cast<DWORD>(n);
  };
  NoClass(lpClass, lpcchClass);
  if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(info.subkeyNames.size());
  if (lpcchMaxSubKeyLen) *lpcchMaxSubKeyLen = longest(info.subkeyNames);
  if (lpcchMaxClassLen) *lpcchMaxClassLen = 0;
  if (lpcValues) *lpcValues = static_cast<DWORD>(info.valueNames.size());
  if (lpcchMaxValueNameLen) *lpcchMaxValueNameLen = longest(info.valueNames);
  if (lpcbMaxValueLen) *lpcbMaxValueLen = info.maxValueBytes;
  if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
  return ERROR_SUCCESS;
}
