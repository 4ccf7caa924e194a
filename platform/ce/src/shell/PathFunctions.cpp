// The shell path functions, one core for the ANSI and the wide forms. Text is walked character
// by character (CharNextA for ANSI), so a double-byte character whose second byte is 0x5C never
// counts as a separator.
#include <shlwapi.h>

#include <fileapi.h>
#include <winnls.h>

#include <string>
#include <vector>

namespace {

const char* Next(const char* p) { return CharNextA(p); }
const char16_t* Next(const char16_t* p) { return *p ? p + 1 : p; }

template <typename Ch>
using Str = std::basic_string<Ch>;

template <typename Ch>
bool HasDrive(const Ch* path) {
  const Ch c = path[0];
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

// The root part that removing or resolving components never touches: "\\" (a network name
// follows), "X:\", "X:", "\" or nothing.
template <typename Ch>
size_t RootLength(const Ch* path) {
  if (path[0] == '\\' && path[1] == '\\') return 2;
  if (HasDrive(path)) return path[2] == '\\' ? 3 : 2;
  return path[0] == '\\' ? 1 : 0;
}

// Offsets of every separator, found by characters.
template <typename Ch>
std::vector<size_t> Separators(const Ch* path) {
  std::vector<size_t> found;
  for (const Ch* p = path; *p; p = Next(p)) {
    if (*p == '\\') found.push_back(static_cast<size_t>(p - path));
  }
  return found;
}

template <typename Ch>
size_t Length(const Ch* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

template <typename Ch>
bool EndsWithSeparator(const Ch* path) {
  const std::vector<size_t> separators = Separators(path);
  return !separators.empty() && separators.back() + 1 == Length(path);
}

template <typename Ch>
BOOL RemoveFileSpec(Ch* path) {
  if (!path) return FALSE;
  const size_t length = Length(path);
  const size_t root = RootLength(path);
  const std::vector<size_t> separators = Separators(path);
  size_t cut = root;
  if (!separators.empty() && separators.back() >= root) cut = separators.back();
  if (cut >= length) return FALSE;
  path[cut] = 0;
  return TRUE;
}

// Drops "." and resolves ".." below the root; a trailing separator stays.
template <typename Ch>
Str<Ch> Canonical(const Str<Ch>& path) {
  const size_t root = RootLength(path.c_str());
  std::vector<Str<Ch>> parts;
  const Ch* start = path.c_str() + root;
  const Ch* p = start;
  auto take = [&](const Ch* end) {
    Str<Ch> part(start, end);
    if (part == Str<Ch>(1, Ch('.'))) return;
    if (part == Str<Ch>(2, Ch('.'))) {
      if (!parts.empty()) parts.pop_back();
      return;
    }
    if (!part.empty()) parts.push_back(std::move(part));
  };
  for (; *p; p = Next(p)) {
    if (*p == '\\') {
      take(p);
      start = p + 1;
    }
  }
  take(p);
  Str<Ch> out = path.substr(0, root);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += Ch('\\');
    out += parts[i];
  }
  if (!parts.empty() && EndsWithSeparator(path.c_str())) out += Ch('\\');
  return out;
}

template <typename Ch>
Ch* Combine(Ch* dest, const Ch* dir, const Ch* file) {
  if (!dest) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!dir && !file) {
    dest[0] = 0;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Str<Ch> joined;
  if (!file || !*file) {
    if (dir) joined = dir;
  } else if (!dir || !*dir || file[0] == '\\' || HasDrive(file)) {
    joined = file;
  } else {
    joined = dir;
    if (!EndsWithSeparator(dir)) joined += Ch('\\');
    joined += file;
  }
  const Str<Ch> result = Canonical(joined);
  if (result.size() + 1 > MAX_PATH) {
    dest[0] = 0;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  // dest may be dir or file itself; the result is complete before it is written.
  for (size_t i = 0; i < result.size(); ++i) dest[i] = result[i];
  dest[result.size()] = 0;
  return dest;
}

template <typename Ch>
BOOL Append(Ch* path, const Ch* more) {
  if (!path || !more) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  while (*more == '\\') ++more;
  Ch joined[MAX_PATH];
  if (!Combine(joined, path, more)) return FALSE;
  for (size_t i = 0;; ++i) {
    path[i] = joined[i];
    if (!joined[i]) break;
  }
  return TRUE;
}

template <typename Ch>
Ch* FindFileName(const Ch* path) {
  if (!path) return nullptr;
  const Ch* name = path;
  for (const Ch* p = path; *p; p = Next(p)) {
    if ((*p == '\\' || *p == ':') && p[1] && p[1] != '\\') name = p + 1;
  }
  return const_cast<Ch*>(name);
}

}  // namespace

BOOL PathRemoveFileSpecA(LPSTR pszPath) { return RemoveFileSpec(pszPath); }
BOOL PathRemoveFileSpecW(LPWSTR pszPath) { return RemoveFileSpec(pszPath); }
LPSTR PathCombineA(LPSTR pszDest, LPCSTR pszDir, LPCSTR pszFile) { return Combine(pszDest, pszDir, pszFile); }
LPWSTR PathCombineW(LPWSTR pszDest, LPCWSTR pszDir, LPCWSTR pszFile) { return Combine(pszDest, pszDir, pszFile); }
BOOL PathAppendA(LPSTR pszPath, LPCSTR pszMore) { return Append(pszPath, pszMore); }
BOOL PathAppendW(LPWSTR pszPath, LPCWSTR pszMore) { return Append(pszPath, pszMore); }
LPSTR PathFindFileNameA(LPCSTR pszPath) { return FindFileName(pszPath); }
LPWSTR PathFindFileNameW(LPCWSTR pszPath) { return FindFileName(pszPath); }

BOOL PathFileExistsA(LPCSTR pszPath) {
  return pszPath && GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}

BOOL PathFileExistsW(LPCWSTR pszPath) {
  return pszPath && GetFileAttributesW(pszPath) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}
