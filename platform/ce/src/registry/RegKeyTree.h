// One hive in memory: keys with their values. Names compare without regard to case and keep
// the case they were created with. Subkeys are kept sorted (the order enumeration gives),
// values in the order they were first set.
#pragma once

#include <winreg.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vela::registry {

struct RegValue {
  std::u16string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

bool NamesEqual(std::u16string_view a, std::u16string_view b);

class RegKey {
 public:
  explicit RegKey(std::u16string name) : name_(std::move(name)) {}

  const std::u16string& Name() const { return name_; }
  const std::vector<std::unique_ptr<RegKey>>& Subkeys() const { return subkeys_; }
  const std::vector<RegValue>& Values() const { return values_; }

  RegKey* FindSubkey(std::u16string_view name) const;
  // The existing subkey of that name, or a new one; *created tells which.
  RegKey& AddSubkey(std::u16string_view name, bool* created);
  bool RemoveSubkey(std::u16string_view name);

  // The key at the end of a path of names, or null.
  const RegKey* Find(const std::vector<std::u16string>& path) const;
  RegKey* Find(const std::vector<std::u16string>& path);

  const RegValue* FindValue(std::u16string_view name) const;
  void SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
  bool RemoveValue(std::u16string_view name);

 private:
  std::u16string name_;
  std::vector<std::unique_ptr<RegKey>> subkeys_;
  std::vector<RegValue> values_;
};

}  // namespace vela::registry
