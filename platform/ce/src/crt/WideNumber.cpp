// Decimal conversion and the space class of the runtime library.
#include <wincrt.h>

#include <cerrno>
#include <cstdint>

int iswspace(WCHAR c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The terminal's long is 32 bits, so both conversions saturate at the 32-bit range (and set
// ERANGE, as the runtime library does) rather than overflow.
long _wtol(const WCHAR* str) {
  if (!str) {
    errno = EINVAL;
    return 0;
  }
  const WCHAR* p = str;
  while (iswspace(*p)) {
    ++p;
  }
  bool negative = false;
  if (*p == u'-' || *p == u'+') {
    negative = *p == u'-';
    ++p;
  }
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t value = 0;
  bool overflow = false;
  for (; *p >= u'0' && *p <= u'9'; ++p) {
    if (!overflow) {
      value = value * 10 + (*p - u'0');
      if (value > limit) {
        overflow = true;
        value = limit;
      }
    }
  }
  if (overflow) {
    errno = ERANGE;
  }
  return static_cast<long>(negative ? -value : value);
}

int _wtoi(const WCHAR* str) { return static_cast<int>(_wtol(str)); }
