#include "fileio/WildcardMatch.h"

#include "crt/CaseMap.h"

namespace vela::fileio {

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name) {
  if (pattern == u"*.*") {
    pattern = u"*";
  }
  // Greedy match with one backtrack point: the last star seen.
  size_t p = 0;
  size_t n = 0;
  size_t star = std::u16string_view::npos;
  size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == u'?' || casemap::Upper(pattern[p]) == casemap::Upper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') {
    ++p;
  }
  return p == pattern.size();
}

}  // namespace vela::fileio
