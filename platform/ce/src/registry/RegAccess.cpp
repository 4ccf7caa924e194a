#include "registry/RegAccess.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "debug/DebugChannel.h"
#include "registry/RegHandles.h"
#include "registry/RegKeyPath.h"

namespace vela::registry {
namespace {

// Runs read on the handle's key, or gives the error for a bad handle or a deleted key.
template <typename Read>
LONG ReadKey(HKEY handle, Read read) {
  const std::optional<KeyRef> ref = ResolveKey(handle);
  if (!ref) return ERROR_INVALID_HANDLE;
  return ref->hive->Read([&](const RegKey& root) -> LONG {
    const RegKey* key = root.Find(ref->path);
    return key ? read(*key) : ERROR_KEY_DELETED;
  });
}

template <typename Change>
LONG ChangeKey(HKEY handle, Change change) {
  const std::optional<KeyRef> ref = ResolveKey(handle);
  if (!ref) return ERROR_INVALID_HANDLE;
  return ref->hive->Modify([&](RegKey& root, bool* changed) -> LONG {
    RegKey* key = root.Find(ref->path);
    return key ? change(*key, changed) : ERROR_KEY_DELETED;
  });
}

}  // namespace

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

LONG CopyValueData(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type) *type = value.type;
  if (!size) return ERROR_SUCCESS;
  const DWORD needed = static_cast<DWORD>(value.data.size());
  if (data) {
    if (*size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    if (needed) std::memcpy(data, value.data.data(), needed);
  }
  *size = needed;
  return ERROR_SUCCESS;
}

LONG OpenKey(HKEY handle, std::u16string_view subKey, bool create, HKEY* result, DWORD* disposition) {
  std::vector<std::u16string> names;
  if (!SplitKeyPath(subKey, &names)) return ERROR_INVALID_PARAMETER;
  std::optional<KeyRef> ref = ResolveKey(handle);
  if (!ref) return ERROR_INVALID_HANDLE;
  std::vector<std::u16string> path = ref->path;
  path.insert(path.end(), names.begin(), names.end());
  bool created = false;
  LONG status;
  if (create) {
    status = ref->hive->Modify([&](RegKey& root, bool* changed) -> LONG {
      RegKey* key = root.Find(ref->path);
      if (!key) return ERROR_KEY_DELETED;
      for (const std::u16string& name : names) {
        bool added = false;
        key = &key->AddSubkey(name, &added);
        created = created || added;
      }
      *changed = created;
      return ERROR_SUCCESS;
    });
  } else {
    status = ref->hive->Read([&](const RegKey& root) -> LONG {
      if (!root.Find(ref->path)) return ERROR_KEY_DELETED;
      return root.Find(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
  }
  if (status != ERROR_SUCCESS) return status;
  ref->path = std::move(path);
  *result = AddKeyHandle(std::move(*ref));
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

void NoteIgnoredOptions(DWORD options) {
  if (options == REG_OPTION_NON_VOLATILE) return;
  char text[96];
  std::snprintf(text, sizeof text, "registry: RegCreateKeyEx options 0x%x ignored; the key persists\n",
                static_cast<unsigned>(options));
  debug::WriteDebugChannel(text);
}

LONG CloseKey(HKEY handle) {
  const std::optional<KeyRef> ref = ResolveKey(handle);
  if (!ref) return ERROR_INVALID_HANDLE;
  // Predefined keys need no closing; closing one anyway is harmless, as on the platform.
  if (ref->predefined) return ERROR_SUCCESS;
  return RemoveKeyHandle(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG FlushKey(HKEY handle) {
  // Every change is already on disk.
  return ReadKey(handle, [](const RegKey&) -> LONG { return ERROR_SUCCESS; });
}

LONG DeleteKey(HKEY handle, std::u16string_view subKey) {
  std::vector<std::u16string> names;
  if (!SplitKeyPath(subKey, &names)) return ERROR_INVALID_PARAMETER;
  std::optional<KeyRef> ref = ResolveKey(handle);
  if (!ref) return ERROR_INVALID_HANDLE;
  std::vector<std::u16string> path = ref->path;
  path.insert(path.end(), names.begin(), names.end());
  if (path.empty()) return ERROR_ACCESS_DENIED;
  return ref->hive->Modify([&](RegKey& root, bool* changed) -> LONG {
    if (!root.Find(ref->path)) return ERROR_KEY_DELETED;
    const std::u16string last = path.back();
    path.pop_back();
    RegKey* parent = root.Find(path);
    if (!parent || !parent->RemoveSubkey(last)) return ERROR_FILE_NOT_FOUND;
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LONG QueryValue(HKEY handle, std::u16string_view name, RegValue* out) {
  return ReadKey(handle, [&](const RegKey& key) -> LONG {
    const RegValue* value = key.FindValue(name);
    if (!value) return ERROR_FILE_NOT_FOUND;
    *out = *value;
    return ERROR_SUCCESS;
  });
}

LONG SetValue(HKEY handle, std::u16string_view name, DWORD type, std::vector<BYTE> data) {
  if (!ValidValueName(name)) return ERROR_INVALID_PARAMETER;
  return ChangeKey(handle, [&](RegKey& key, bool* changed) -> LONG {
    const RegValue* old = key.FindValue(name);
    // Setting what is already there costs no write.
    if (old && old->type == type && old->data == data) return ERROR_SUCCESS;
    key.SetValue(name, type, std::move(data));
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LONG DeleteValue(HKEY handle, std::u16string_view name) {
  return ChangeKey(handle, [&](RegKey& key, bool* changed) -> LONG {
    if (!key.RemoveValue(name)) return ERROR_FILE_NOT_FOUND;
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LONG SubkeyAt(HKEY handle, DWORD index, std::u16string* name) {
  return ReadKey(handle, [&](const RegKey& key) -> LONG {
    if (index >= key.Subkeys().size()) return ERROR_NO_MORE_ITEMS;
    *name = key.Subkeys()[index]->Name();
    return ERROR_SUCCESS;
  });
}

LONG ValueAt(HKEY handle, DWORD index, RegValue* value) {
  return ReadKey(handle, [&](const RegKey& key) -> LONG {
    if (index >= key.Values().size()) return ERROR_NO_MORE_ITEMS;
    *value = key.Values()[index];
    return ERROR_SUCCESS;
  });
}

LONG QueryInfo(HKEY handle, KeyInfo* info) {
  return ReadKey(handle, [&](const RegKey& key) -> LONG {
    *info = {};
    for (const auto& subkey : key.Subkeys()) info->subkeyNames.push_back(subkey->Name());
    for (const RegValue& value : key.Values()) {
      info->valueNames.push_back(value.name);
      info->maxValueBytes = std::max(info->maxValueBytes, static_cast<DWORD>(value.data.size()));
    }
    return ERROR_SUCCESS;
  });
}

}  // namespace vela::registry
