// Names of the predefined keys, as the .reg format and the registry tool spell them.
#include <vela/RegFile.h>

#include <array>

#include "crt/CaseMap.h"

namespace vela::regfile {
namespace {

struct RootName {
  HKEY key;
  std::u16string_view longName;
  std::u16string_view shortName;
};

std::array<RootName, 4> Roots() {
  return {{{HKEY_CLASSES_ROOT, u"HKEY_CLASSES_ROOT", u"HKCR"},
           {HKEY_CURRENT_USER, u"HKEY_CURRENT_USER", u"HKCU"},
           {HKEY_LOCAL_MACHINE, u"HKEY_LOCAL_MACHINE", u"HKLM"},
           {HKEY_USERS, u"HKEY_USERS", u"HKU"}}};
}

bool SameNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (casemap::Upper(a[i]) != casemap::Upper(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<HKEY> RootKeyFromName(std::u16string_view name) {
  for (const RootName& root : Roots()) {
    if (SameNoCase(name, root.longName) || SameNoCase(name, root.shortName)) return root.key;
  }
  return std::nullopt;
}

std::u16string_view RootKeyName(HKEY key) {
  for (const RootName& root : Roots()) {
    if (root.key == key) return root.longName;
  }
  return {};
}

}  // namespace vela::regfile
