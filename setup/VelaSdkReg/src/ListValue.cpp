#include "ListValue.h"

#include <cstring>
#include <vector>

#include "DirectoryList.h"

namespace velasdkreg {
namespace {

enum class Read { Missing, Whole, Unusable };

// Up to maxBytes of the value; a value longer than that is not cut, it is unusable.
Read ReadValue(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, DWORD* type, std::vector<BYTE>* data) {
  data->assign(maxBytes, 0);
  DWORD size = maxBytes;
  const LONG status = RegQueryValueExA(hKey, pszValue, nullptr, type, data->data(), &size);
  if (status == ERROR_FILE_NOT_FOUND) return Read::Missing;
  if (status != ERROR_SUCCESS) return Read::Unusable;
  data->resize(size);
  return Read::Whole;
}

bool Apply(std::u16string& list, const std::u16string& entry, ListEdit edit) {
  return edit == ListEdit::Add ? AddToList(list, entry) : RemoveFromList(list, entry);
}

bool Apply(std::string& list, const std::string& entry, ListEdit edit) {
  return edit == ListEdit::Add ? AddToList(list, entry) : RemoveFromList(list, entry);
}

}  // namespace

EditResult EditWideList(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, const std::u16string& entry, ListEdit edit) {
  DWORD type = 0;
  std::vector<BYTE> data;
  std::u16string list;
  switch (ReadValue(hKey, pszValue, maxBytes, &type, &data)) {
    case Read::Unusable: return EditResult::Unchanged;
    case Read::Missing: break;
    case Read::Whole:
      if (type != REG_BINARY || data.size() % 2 != 0) return EditResult::Unchanged;
      list.resize(data.size() / 2);
      std::memcpy(list.data(), data.data(), data.size());
      list.resize(std::char_traits<char16_t>::length(list.c_str()));  // up to the terminator
      break;
  }
  if (!Apply(list, entry, edit)) return EditResult::Unchanged;
  const size_t bytes = (list.size() + 1) * sizeof(char16_t);
  if (bytes > maxBytes) return EditResult::WriteFailed;
  const LONG status = RegSetValueExA(hKey, pszValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(list.c_str()),
                                     static_cast<DWORD>(bytes));
  return status == ERROR_SUCCESS ? EditResult::Written : EditResult::WriteFailed;
}

EditResult EditAnsiList(HKEY hKey, LPCSTR pszValue, DWORD maxBytes, const std::string& entry, ListEdit edit) {
  DWORD type = REG_SZ;
  std::vector<BYTE> data;
  std::string list;
  switch (ReadValue(hKey, pszValue, maxBytes, &type, &data)) {
    case Read::Unusable: return EditResult::Unchanged;
    case Read::Missing: type = REG_SZ; break;
    case Read::Whole:
      if (type != REG_SZ && type != REG_EXPAND_SZ) return EditResult::Unchanged;
      list.assign(reinterpret_cast<const char*>(data.data()), data.size());
      list.resize(std::strlen(list.c_str()));
      break;
  }
  if (!Apply(list, entry, edit)) return EditResult::Unchanged;
  if (list.size() + 1 > maxBytes) return EditResult::WriteFailed;
  const LONG status = RegSetValueExA(hKey, pszValue, 0, type, reinterpret_cast<const BYTE*>(list.c_str()),
                                     static_cast<DWORD>(list.size() + 1));
  return status == ERROR_SUCCESS ? EditResult::Written : EditResult::WriteFailed;
}

}  // namespace velasdkreg
