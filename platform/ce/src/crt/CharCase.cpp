// CharUpper/CharLower of the platform's user32, over the same mapping as the runtime library.
#include <winnls.h>

#include <cstdint>

#include "crt/CaseMap.h"

namespace {

// A pointer whose high word is zero is a single character in its low word, not a string.
bool IsCharInPointer(LPWSTR p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

LPWSTR CharInPointer(WCHAR c) { return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c)); }

template <char16_t (*Map)(char16_t)>
DWORD MapBuffer(LPWSTR s, DWORD n) {
  if (!s) {
    return 0;
  }
  for (DWORD i = 0; i < n; ++i) {
    s[i] = Map(s[i]);
  }
  return n;
}

template <char16_t (*Map)(char16_t)>
LPWSTR MapString(LPWSTR s) {
  if (IsCharInPointer(s)) {
    return CharInPointer(Map(static_cast<WCHAR>(reinterpret_cast<uintptr_t>(s))));
  }
  for (WCHAR* p = s; *p; ++p) {
    *p = Map(*p);
  }
  return s;
}

}  // namespace

LPWSTR CharUpperW(LPWSTR lpsz) { return MapString<vela::casemap::Upper>(lpsz); }

DWORD CharUpperBuffW(LPWSTR lpsz, DWORD cchLength) {
  return MapBuffer<vela::casemap::Upper>(lpsz, cchLength);
}

LPWSTR CharLowerW(LPWSTR lpsz) { return MapString<vela::casemap::Lower>(lpsz); }

DWORD CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) {
  return MapBuffer<vela::casemap::Lower>(lpsz, cchLength);
}
