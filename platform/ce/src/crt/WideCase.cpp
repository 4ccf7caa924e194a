// Case-blind comparison and case conversion of the runtime library. Comparison folds both
// sides to small letters, as the runtime library does, so "_" sorts after letters.
#include <wincrt.h>

#include "crt/CaseMap.h"

WCHAR towupper(WCHAR c) { return vela::casemap::Upper(c); }

WCHAR towlower(WCHAR c) { return vela::casemap::Lower(c); }

int _wcsicmp(const WCHAR* a, const WCHAR* b) {
  for (;; ++a, ++b) {
    const int ca = vela::casemap::Lower(*a);
    const int cb = vela::casemap::Lower(*b);
    if (ca != cb || !ca) {
      return ca - cb;
    }
  }
}

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const int ca = vela::casemap::Lower(a[i]);
    const int cb = vela::casemap::Lower(b[i]);
    if (ca != cb || !ca) {
      return ca - cb;
    }
  }
  return 0;
}

WCHAR* _wcsupr(WCHAR* s) {
  for (WCHAR* p = s; *p; ++p) {
    *p = vela::casemap::Upper(*p);
  }
  return s;
}

WCHAR* _wcslwr(WCHAR* s) {
  for (WCHAR* p = s; *p; ++p) {
    *p = vela::casemap::Lower(*p);
  }
  return s;
}
