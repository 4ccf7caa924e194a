// The runtime library's wide-character functions, as the terminal's C runtime offers them.
// They take UTF-16 (WCHAR) text; files opened in text mode are read and written in the
// ANSI code page with CR LF line ends.
#pragma once

#include <cstdio>
#include "wintypes.h"

// Opens a file of the terminal's file system. Modes as the runtime library's: "r", "w", "a",
// optionally "+", and "t" (text, the default) or "b" (binary). Text mode turns CR LF into LF
// on reading and LF into CR LF on writing. Returns null and sets errno on failure (a folder
// cannot be opened as a file).
FILE* _wfopen(const WCHAR* filename, const WCHAR* mode);

// Reads one line of at most n - 1 characters, decoding the ANSI code page; the line feed is
// kept when it fits. A NUL byte is read as a NUL character. Returns null at end of file or on
// a read error when nothing was read.
WCHAR* fgetws(WCHAR* buffer, int n, FILE* stream);
// Writes a string, encoding it in the ANSI code page. Returns a non-negative value or WEOF (-1).
int fputws(const WCHAR* str, FILE* stream);

// Decimal conversions: leading white space, an optional sign, then digits up to the first
// non-digit; no digits give 0. Values beyond the range saturate.
int _wtoi(const WCHAR* str);
long _wtol(const WCHAR* str);

// The wide space class: blank, tab, CR, LF, vertical tab, form feed.
int iswspace(WCHAR c);
WCHAR towupper(WCHAR c);
WCHAR towlower(WCHAR c);

size_t wcslen(const WCHAR* s);
WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n);
WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n);
const WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcschr(WCHAR* s, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(WCHAR* s, WCHAR c);
const WCHAR* wcsstr(const WCHAR* s, const WCHAR* sub);
WCHAR* wcsstr(WCHAR* s, const WCHAR* sub);
WCHAR* _wcsupr(WCHAR* s);
WCHAR* _wcslwr(WCHAR* s);
