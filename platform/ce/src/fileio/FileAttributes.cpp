// File attributes from the host's file type and mode bits. A host file without any write
// permission bit is the platform's read-only file.
#include <fileapi.h>
#include <vela/TerminalFileSystem.h>

#include <sys/stat.h>

#include "debug/DebugChannel.h"
#include "fileio/AnsiPath.h"
#include "fileio/HostErrors.h"

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

DWORD GetFileAttributesW(LPCWSTR lpFileName) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  const std::string host = vela::HostPathFromTerminal(lpFileName);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) {
    vela::fileio::FailFromErrno(host);
    return INVALID_FILE_ATTRIBUTES;
  }
  // Files carry the archive bit as the platform gives it to every file it writes.
  DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if ((st.st_mode & kWriteBits) == 0) {
    attributes |= FILE_ATTRIBUTE_READONLY;
  }
  return attributes;
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
  const std::optional<std::u16string> name = vela::fileio::WideFromAnsi(lpFileName);
  if (!name) {
    return INVALID_FILE_ATTRIBUTES;
  }
  return GetFileAttributesW(lpFileName ? name->c_str() : nullptr);
}

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL |
                          FILE_ATTRIBUTE_DIRECTORY;
  if (dwFileAttributes & ~kKept) {
    // Hidden, system and the rest have no home in the host's mode bits.
    vela::debug::WriteDebugChannel("fileio: SetFileAttributesW: only the read-only attribute is kept\n");
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  const std::string host = vela::HostPathFromTerminal(lpFileName);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) {
    return vela::fileio::FailFromErrno(host);
  }
  const mode_t bits = st.st_mode & 07777;
  // Read-only takes every write bit away; clearing it gives the owner's back (the umask
  // would have decided the others when the file was made).
  const mode_t wanted = (dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? bits & ~kWriteBits
                        : (bits & kWriteBits) ? bits
                                              : bits | S_IWUSR;
  if (wanted != bits && chmod(host.c_str(), wanted) != 0) {
    return vela::fileio::FailFromErrno(host);
  }
  return TRUE;
}
