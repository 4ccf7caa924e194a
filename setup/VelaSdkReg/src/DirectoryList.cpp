#include "DirectoryList.h"

#include <winnls.h>
#include <wincrt.h>

#include <vector>

namespace velasdkreg {
namespace {

struct Span {
  size_t begin;
  size_t end;  // the separator after the entry, or the list's end
};

// ';' is never part of a double-byte character of the ANSI code page, so bytes can be split.
template <typename Ch>
std::vector<Span> Entries(const std::basic_string<Ch>& list) {
  std::vector<Span> entries;
  size_t begin = 0;
  for (;;) {
    const size_t end = list.find(Ch(';'), begin);
    entries.push_back({begin, end == std::basic_string<Ch>::npos ? list.size() : end});
    if (end == std::basic_string<Ch>::npos) return entries;
    begin = end + 1;
  }
}

std::u16string Widen(const std::string& text) {
  if (text.empty()) return {};
  const int count = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
  std::u16string wide(static_cast<size_t>(units > 0 ? units : 0), u'\0');
  if (units > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), count, wide.data(), units);
  return wide;
}

bool Equal(const std::u16string& a, const std::u16string& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }
// Case is folded on the characters, never on the second byte of a double-byte character.
bool Equal(const std::string& a, const std::string& b) { return Equal(Widen(a), Widen(b)); }

template <typename Ch>
bool Find(const std::basic_string<Ch>& list, const std::basic_string<Ch>& entry, Span* found) {
  if (list.empty()) return false;
  for (const Span& span : Entries(list)) {
    if (Equal(list.substr(span.begin, span.end - span.begin), entry)) {
      *found = span;
      return true;
    }
  }
  return false;
}

template <typename Ch>
bool Add(std::basic_string<Ch>& list, const std::basic_string<Ch>& entry) {
  Span span{};
  if (Find(list, entry, &span)) return false;
  list = entry + Ch(';') + list;
  return true;
}

template <typename Ch>
bool Remove(std::basic_string<Ch>& list, const std::basic_string<Ch>& entry) {
  Span span{};
  if (!Find(list, entry, &span)) return false;
  if (span.end < list.size()) {
    list.erase(span.begin, span.end + 1 - span.begin);  // with the separator after it
  } else if (span.begin > 0) {
    list.erase(span.begin - 1);  // the last entry: with the separator before it
  } else {
    list.clear();
  }
  return true;
}

}  // namespace

bool AddToList(std::u16string& list, const std::u16string& entry) { return Add(list, entry); }
bool AddToList(std::string& list, const std::string& entry) { return Add(list, entry); }
bool RemoveFromList(std::u16string& list, const std::u16string& entry) { return Remove(list, entry); }
bool RemoveFromList(std::string& list, const std::string& entry) { return Remove(list, entry); }

}  // namespace velasdkreg
