// The runtime library's wcs* functions over UTF-16 strings.
#include <wincrt.h>

size_t wcslen(const WCHAR* s) {
  const WCHAR* p = s;
  while (*p) {
    ++p;
  }
  return static_cast<size_t>(p - s);
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src) {
  WCHAR* d = dst;
  while ((*d++ = *src++) != 0) {
  }
  return dst;
}

WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n) {
  size_t i = 0;
  for (; i < n && src[i]; ++i) {
    dst[i] = src[i];
  }
  for (; i < n; ++i) {
    dst[i] = 0;
  }
  return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src) {
  wcscpy(dst + wcslen(dst), src);
  return dst;
}

int wcscmp(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i] || !a[i]) {
      return static_cast<int>(a[i]) - static_cast<int>(b[i]);
    }
  }
  return 0;
}

const WCHAR* wcschr(const WCHAR* s, WCHAR c) {
  for (;; ++s) {
    if (*s == c) {
      return s;
    }
    if (!*s) {
      return nullptr;
    }
  }
}

WCHAR* wcschr(WCHAR* s, WCHAR c) {
  return const_cast<WCHAR*>(wcschr(static_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
  const WCHAR* found = nullptr;
  for (;; ++s) {
    if (*s == c) {
      found = s;
    }
    if (!*s) {
      return found;
    }
  }
}

WCHAR* wcsrchr(WCHAR* s, WCHAR c) {
  return const_cast<WCHAR*>(wcsrchr(static_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsstr(const WCHAR* s, const WCHAR* sub) {
  if (!*sub) {
    return s;
  }
  for (; *s; ++s) {
    size_t i = 0;
    while (sub[i] && s[i] == sub[i]) {
      ++i;
    }
    if (!sub[i]) {
      return s;
    }
  }
  return nullptr;
}

WCHAR* wcsstr(WCHAR* s, const WCHAR* sub) {
  return const_cast<WCHAR*>(wcsstr(static_cast<const WCHAR*>(s), sub));
}
