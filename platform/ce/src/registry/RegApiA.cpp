// The registry functions, ANSI forms: names and string data go through the ANSI code page
// (932); sizes are those of the converted text.
#include <winnls.h>
#include <winreg.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "registry/RegAccess.h"

using namespace vela::registry;

namespace {

std::u16string ToWide(const char* text, std::size_t length) {
  if (length == 0) return {};
  const int count = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
  const int units = MultiByteToWideChar(CP_ACP, 0, text, count, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(std::max(units, 0)), u'\0');
  if (units > 0) MultiByteToWideChar(CP_ACP, 0, text, count, out.data(), units);
  return out;
}

std::u16string ToWide(LPCSTR text) { return text ? ToWide(text, std::strlen(text)) : std::u16string(); }

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const int count = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(bytes, 0)), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), count, out.data(), bytes, nullptr, nullptr);
  return out;
}

// String data is kept as UTF-16; an odd last byte cannot be converted and is dropped.
void DataToAnsi(RegValue* value) {
  if (!IsStringType(value->type)) return;
  std::u16string text(value->data.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(value->data[2 * i] | (value->data[2 * i + 1] << 8));
  }
  const std::string ansi = ToAnsi(text);
  value->data.assign(ansi.begin(), ansi.end());
}

std::vector<BYTE> DataToWide(DWORD type, const BYTE* data, DWORD size) {
  if (!data) return {};
  if (!IsStringType(type)) return std::vector<BYTE>(data, data + size);
  const std::u16string text = ToWide(reinterpret_cast<const char*>(data), size);
  std::vector<BYTE> out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<BYTE>(c & 0xFF));
    out.push_back(static_cast<BYTE>(c >> 8));
  }
  return out;
}

LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD count) {
  if (*count <= name.size()) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.data(), name.size());
  buffer[name.size()] = 0;
  *count = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

void NoClass(LPSTR cls, LPDWORD count) {
  if (!count) return;
  if (cls && *count > 0) cls[0] = 0;
  *count = 0;
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  return OpenKey(hKey, ToWide(lpSubKey), false, phkResult, nullptr);
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPVOID lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  NoteIgnoredOptions(dwOptions);
  return OpenKey(hKey, ToWide(lpSubKey), true, phkResult, lpdwDisposition);
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return DeleteKey(hKey, ToWide(lpSubKey));
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  RegValue value;
  if (const LONG status = QueryValue(hKey, ToWide(lpValueName), &value); status != ERROR_SUCCESS) return status;
  DataToAnsi(&value);
  return CopyValueData(value, lpType, lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData) {
  if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
  return SetValue(hKey, ToWide(lpValueName), dwType, DataToWide(dwType, lpData, cbData));
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) { return DeleteValue(hKey, ToWide(lpValueName)); }

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  std::u16string name;
  if (const LONG status = SubkeyAt(hKey, dwIndex, &name); status != ERROR_SUCCESS) return status;
  if (const LONG status = CopyName(ToAnsi(name), lpName, lpcchName); status != ERROR_SUCCESS) return status;
  NoClass(lpClass, lpcchClass);
  return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                   LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData)) {
    return ERROR_INVALID_PARAMETER;
  }
  RegValue value;
  if (const LONG status = ValueAt(hKey, dwIndex, &value); status != ERROR_SUCCESS) return status;
  DataToAnsi(&value);
  const std::string name = ToAnsi(value.name);
  if (*lpcchValueName <= name.size()) {
    CopyValueData(value, lpType, nullptr, lpcbData);
    return ERROR_MORE_DATA;
  }
  if (const LONG status = CopyValueData(value, lpType, lpData, lpcbData); status != ERROR_SUCCESS) return status;
  return CopyName(name, lpValueName, lpcchValueName);
}

LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                      LPDWORD lpcSubKeys, LPDWORD lpcchMaxSubKeyLen, LPDWORD lpcchMaxClassLen,
                      LPDWORD lpcValues, LPDWORD lpcchMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                      LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  if (lpReserved) return ERROR_INVALID_PARAMETER;
  KeyInfo info;
  if (const LONG status = QueryInfo(hKey, &info); status != ERROR_SUCCESS) return status;
  // Lengths of the converted names, so that buffers sized by them hold the ANSI names.
  auto longest = [](const std::vector<std::u16string>& names) {
    std::size_t n = 0;
    for (const auto& name : names) n = std::max(n, ToAnsi(name).size());
    return static_cast<DWORD>(n);
  };
  NoClass(lpClass, lpcchClass);
  if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(info.subkeyNames.size());
  if (lpcchMaxSubKeyLen) *lpcchMaxSubKeyLen = longest(info.subkeyNames);
  if (lpcchMaxClassLen) *lpcchMaxClassLen = 0;
  if (lpcValues) *lpcValues = static_cast<DWORD>(info.valueNames.size());
  if (lpcchMaxValueNameLen) *lpcchMaxValueNameLen = longest(info.valueNames);
  // Converted strings are never longer than their UTF-16 form.
  if (lpcbMaxValueLen) *lpcbMaxValueLen = info.maxValueBytes;
  if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
  return ERROR_SUCCESS;
}
