#include "SetupFileMover.h"

#include <windows.h>
#include <wincrt.h>

#include <initializer_list>

namespace velasetup {
namespace {

// The parts one after the other, or false when they would not fit with the terminator.
bool FormatPath(WCHAR (&buffer)[kPathChars], std::initializer_list<LPCWSTR> parts) {
  size_t length = 0;
  for (LPCWSTR part : parts) length += wcslen(part);
  if (length + 1 > kPathChars) return false;
  buffer[0] = 0;
  for (LPCWSTR part : parts) wcscat(buffer, part);
  return true;
}

}  // namespace

void CollectFileNames(LPCWSTR pszDir, CStringList& list) {
  WCHAR szPattern[kPathChars];
  if (!FormatPath(szPattern, {pszDir, u"\\*.*"})) return;
  WIN32_FIND_DATAW fd;
  HANDLE hFind = FindFirstFileW(szPattern, &fd);
  if (hFind == INVALID_HANDLE_VALUE) return;
  do {
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) list.AddTail(fd.cFileName);
  } while (FindNextFileW(hFind, &fd));
  FindClose(hFind);
}

void MoveIntoWindows(LPCWSTR pszDir, LPCWSTR pszName) {
  WCHAR szSource[kPathChars];
  WCHAR szTarget[kPathChars];
  WCHAR szBackup[kPathChars];
  if (!FormatPath(szSource, {pszDir, u"\\", pszName}) || !FormatPath(szTarget, {u"\\Windows\\", pszName}) ||
      !FormatPath(szBackup, {u"\\Windows\\", pszName, u".Vela"})) {
    return;
  }
  DeleteFileW(szBackup);  // a leftover of an earlier run
  const BOOL bMovedAside = MoveFileW(szTarget, szBackup);
  if (MoveFileW(szSource, szTarget)) {
    DeleteFileW(szBackup);
    return;
  }
  // The new file did not arrive (a locked file, a full disk): the older copy stays in use.
  if (bMovedAside) MoveFileW(szBackup, szTarget);
}

}  // namespace velasetup
