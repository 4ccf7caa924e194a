// Shell path functions of the desktop and the terminal: joining, splitting and testing paths held
// in MAX_PATH buffers. Only "\" separates here, as in the platform's own shell functions, and the
// ...A forms walk the text with CharNextA, so the second byte of a double-byte character (0x5C in
// "ソ" or "表" of code page 932) is never taken for a separator.
#pragma once

#include "wintypes.h"
#include "windef.h"

// Removes the last component and its separator ("\Kit\Lib" -> "\Kit", "\Kit" -> "\").
// TRUE when something was removed.
BOOL PathRemoveFileSpecA(LPSTR pszPath);
BOOL PathRemoveFileSpecW(LPWSTR pszPath);

// pszDest (MAX_PATH characters) receives pszDir and pszFile joined with one "\", with "." and
// ".." components resolved; a pszFile that starts at the root or a drive stands alone. NULL
// (and an empty pszDest) when both are NULL or the result would not fit.
LPSTR PathCombineA(LPSTR pszDest, LPCSTR pszDir, LPCSTR pszFile);
LPWSTR PathCombineW(LPWSTR pszDest, LPCWSTR pszDir, LPCWSTR pszFile);

// Appends pszMore to pszPath (a MAX_PATH buffer) with one "\" between; leading separators of
// pszMore are skipped. FALSE, and pszPath unchanged, when the result would not fit.
BOOL PathAppendA(LPSTR pszPath, LPCSTR pszMore);
BOOL PathAppendW(LPWSTR pszPath, LPCWSTR pszMore);

// The last component of the path (a trailing separator belongs to it), or the path itself.
LPSTR PathFindFileNameA(LPCSTR pszPath);
LPWSTR PathFindFileNameW(LPCWSTR pszPath);

// TRUE when a file or folder of that name exists.
BOOL PathFileExistsA(LPCSTR pszPath);
BOOL PathFileExistsW(LPCWSTR pszPath);

#define PathRemoveFileSpec PathRemoveFileSpecW
#define PathCombine PathCombineW
#define PathAppend PathAppendW
#define PathFindFileName PathFindFileNameW
#define PathFileExists PathFileExistsW
