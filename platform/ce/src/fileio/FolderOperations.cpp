// Deleting, moving and copying files; making and removing folders.
#include <fileapi.h>
#include <vela/TerminalFileSystem.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "fileio/AnsiPath.h"
#include "fileio/HostErrors.h"
#include "fileio/ShareLocks.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool IsFolder(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsReadOnly(const std::string& host) {
  struct stat st;
  return lstat(host.c_str(), &st) == 0 && !S_ISLNK(st.st_mode) &&
         (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// True when some handle holds the file; the platform refuses to delete or move such a file.
bool InUse(const std::string& host) {
  const int fd = open(host.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return false;
  }
  const bool busy = vela::fileio::AcquireShareLocks(fd, true, true, 0, true) != ERROR_SUCCESS;
  close(fd);
  return busy;
}

template <class F>
BOOL WithAnsi(LPCSTR name, F call) {
  const std::optional<std::u16string> wide = vela::fileio::WideFromAnsi(name);
  if (!wide) {
    return FALSE;
  }
  return call(name ? wide->c_str() : nullptr);
}

bool Missing(LPCWSTR name) { return !name || !*name; }

}  // namespace

BOOL DeleteFileW(LPCWSTR lpFileName) {
  if (Missing(lpFileName)) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::string host = vela::HostPathFromTerminal(lpFileName);
  if (IsFolder(host) || IsReadOnly(host)) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (InUse(host)) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  if (unlink(host.c_str()) != 0) {
    return vela::fileio::FailFromErrno(host);
  }
  return TRUE;
}

BOOL DeleteFileA(LPCSTR lpFileName) {
  return WithAnsi(lpFileName, [](LPCWSTR name) { return DeleteFileW(name); });
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
  if (Missing(lpPathName)) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::string host = vela::HostPathFromTerminal(lpPathName);
  if (mkdir(host.c_str(), 0777) != 0) {
    if (errno == EEXIST) {
      return Fail(ERROR_ALREADY_EXISTS);
    }
    return vela::fileio::FailFromErrno(host);
  }
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
  return WithAnsi(lpPathName,
                  [&](LPCWSTR name) { return CreateDirectoryW(name, lpSecurityAttributes); });
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName) {
  if (Missing(lpPathName)) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::string host = vela::HostPathFromTerminal(lpPathName);
  if (host == vela::TerminalRoot()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (rmdir(host.c_str()) != 0) {
    // A file where a folder was named is "invalid name" on the platform.
    return Fail(errno == ENOTDIR ? ERROR_DIRECTORY
                                 : vela::fileio::ErrorFromErrno(errno, host));
  }
  return TRUE;
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
  if (Missing(lpExistingFileName) || Missing(lpNewFileName)) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::string from = vela::HostPathFromTerminal(lpExistingFileName);
  const std::string to = vela::HostPathFromTerminal(lpNewFileName);
  struct stat st;
  if (lstat(from.c_str(), &st) != 0) {
    return vela::fileio::FailFromErrno(from);
  }
  if (!S_ISDIR(st.st_mode) && InUse(from)) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  // The platform never replaces an existing target; renameat2 makes that atomic.
  int result = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  if (result != 0 && errno == EINVAL) {
    // A host file system without the flag: look, then rename.
    if (lstat(to.c_str(), &st) == 0) {
      return Fail(ERROR_ALREADY_EXISTS);
    }
    result = rename(from.c_str(), to.c_str());
  }
  if (result != 0) {
    if (errno == EEXIST) {
      return Fail(ERROR_ALREADY_EXISTS);
    }
    return vela::fileio::FailFromErrno(errno == ENOENT ? to : from);
  }
  return TRUE;
}
