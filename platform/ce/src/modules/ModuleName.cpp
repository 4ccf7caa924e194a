#include "modules/ModuleName.h"

#include "crt/CaseMap.h"

namespace vela::modules {
namespace {

std::u16string_view LastComponent(std::u16string_view name) {
  const size_t slash = name.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? name : name.substr(slash + 1);
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view suffix) {
  if (text.size() < suffix.size()) {
    return false;
  }
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (casemap::Upper(text[text.size() - suffix.size() + i]) != casemap::Upper(suffix[i])) {
      return false;
    }
  }
  return true;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() &&
         EndsWithIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The name without ".dll", as given.
std::u16string_view Stem(std::u16string_view name) {
  name = LastComponent(name);
  if (EndsWithIgnoringCase(name, u".dll")) {
    name.remove_suffix(4);
  } else if (StartsWithIgnoringCase(name, u"lib") && EndsWithIgnoringCase(name, u".so") &&
             name.size() > 6) {
    name = name.substr(3, name.size() - 6);
  }
  return name;
}

}  // namespace

std::u16string ModuleKey(std::u16string_view name) {
  std::u16string key(Stem(name));
  for (char16_t& c : key) {
    c = casemap::Upper(c);
  }
  return key;
}

std::u16string DllFileName(std::u16string_view name) {
  const std::u16string_view last = LastComponent(name);
  // A name with another extension (".cpl", ".exe") is taken as it is.
  const size_t dot = last.find_last_of(u'.');
  if (dot != std::u16string_view::npos && !EndsWithIgnoringCase(last, u".dll") &&
      !EndsWithIgnoringCase(last, u".so")) {
    return std::u16string(last);
  }
  return std::u16string(Stem(name)) + u".dll";
}

std::u16string SharedObjectFileName(std::u16string_view name) {
  return u"lib" + std::u16string(Stem(name)) + u".so";
}

}  // namespace vela::modules
