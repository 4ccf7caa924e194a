#include "registry/RegKeyTree.h"

#include <algorithm>

#include "crt/CaseMap.h"

namespace vela::registry {
namespace {

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = casemap::Upper(a[i]);
    const char16_t y = casemap::Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

auto LowerBound(const std::vector<std::unique_ptr<RegKey>>& keys, std::u16string_view name) {
  return std::lower_bound(keys.begin(), keys.end(), name,
                          [](const std::unique_ptr<RegKey>& key, std::u16string_view n) {
                            return CompareNoCase(key->Name(), n) < 0;
                          });
}

}  // namespace

bool NamesEqual(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

RegKey* RegKey::FindSubkey(std::u16string_view name) const {
  auto it = LowerBound(subkeys_, name);
  return (it != subkeys_.end() && NamesEqual((*it)->Name(), name)) ? it->get() : nullptr;
}

RegKey& RegKey::AddSubkey(std::u16string_view name, bool* created) {
  auto it = LowerBound(subkeys_, name);
  if (it != subkeys_.end() && NamesEqual((*it)->Name(), name)) {
    *created = false;
    return **it;
  }
  *created = true;
  return **subkeys_.insert(it, std::make_unique<RegKey>(std::u16string(name)));
}

bool RegKey::RemoveSubkey(std::u16string_view name) {
  auto it = LowerBound(subkeys_, name);
  if (it == subkeys_.end() || !NamesEqual((*it)->Name(), name)) return false;
  subkeys_.erase(it);
  return true;
}

const RegKey* RegKey::Find(const std::vector<std::u16string>& path) const {
  const RegKey* key = this;
  for (const std::u16string& name : path) {
    key = key->FindSubkey(name);
    if (!key) return nullptr;
  }
  return key;
}

RegKey* RegKey::Find(const std::vector<std::u16string>& path) {
  return const_cast<RegKey*>(static_cast<const RegKey*>(this)->Find(path));
}

const RegValue* RegKey::FindValue(std::u16string_view name) const {
  for (const RegValue& value : values_) {
    if (NamesEqual(value.name, name)) return &value;
  }
  return nullptr;
}

void RegKey::SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
  if (auto* value = const_cast<RegValue*>(FindValue(name))) {
    value->type = type;
    value->data = std::move(data);
    return;
  }
  values_.push_back({std::u16string(name), type, std::move(data)});
}

bool RegKey::RemoveValue(std::u16string_view name) {
  auto it = std::find_if(values_.begin(), values_.end(),
                         [&](const RegValue& value) { return NamesEqual(value.name, name); });
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

}  // namespace vela::registry
