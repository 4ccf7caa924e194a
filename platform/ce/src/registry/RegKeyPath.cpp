#include "registry/RegKeyPath.h"

namespace vela::registry {
namespace {

bool HasLineBreak(std::u16string_view text) {
  return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

}  // namespace

bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string>* names) {
  names->clear();
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find(u'\\', start);
    const std::u16string_view name =
        path.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
    if (name.empty() || name.size() > kMaxKeyNameLength || HasLineBreak(name)) return false;
    names->emplace_back(name);
    if (end == std::u16string_view::npos) return true;
    start = end + 1;
  }
}

bool ValidValueName(std::u16string_view name) {
  return name.size() <= kMaxValueNameLength && !HasLineBreak(name);
}

}  // namespace vela::registry
