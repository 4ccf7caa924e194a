// CreateFileW/A: opening and creating files with the platform's dispositions and share modes.
#include <fileapi.h>
#include <vela/TerminalFileSystem.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "devices/DeviceObject.h"
#include "fileio/AnsiPath.h"
#include "fileio/FileObject.h"
#include "fileio/HostErrors.h"
#include "fileio/ShareLocks.h"
#include "kernel/HandleTable.h"

namespace {

// A superuser may write any file; the platform still refuses write access to a read-only
// one, so that case needs a look at the mode bits.
bool WritesAnything() {
  static const bool privileged = geteuid() == 0;
  return privileged;
}

int OpenRetryingInterrupts(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
  if (!lpFileName || !*lpFileName) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  if (vela::devices::IsDeviceName(lpFileName)) {
    return vela::devices::OpenDevice(lpFileName);  // drivers take their own flags (overlapped too)
  }
  if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING ||
      (dwShareMode & ~DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}) != 0) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (dwFlagsAndAttributes & FILE_FLAG_OVERLAPPED) {
    return Fail(ERROR_INVALID_PARAMETER);  // no overlapped I/O on the terminal
  }
  const bool read = dwDesiredAccess & (GENERIC_READ | GENERIC_ALL);
  const bool write = dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL);
  if (dwCreationDisposition == TRUNCATE_EXISTING && !write) {
    return Fail(ERROR_INVALID_PARAMETER);
  }

  // Writable descriptors are opened for reading too: the share locks need it.
  int flags = (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY;
  if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH) {
    flags |= O_DSYNC;
  }
  const mode_t createMode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

  // An existing file spelled as given opens without the case-blind look-up. Otherwise open
  // what exists first and create only when nothing is there, so the caller learns whether
  // the file existed without a separate look; O_EXCL settles a race with a creator. A
  // dangling symbolic link is neither openable nor creatable, hence the bound.
  std::string host = vela::HostPathAsSpelled(lpFileName);
  int fd = dwCreationDisposition == CREATE_NEW ? -1 : OpenRetryingInterrupts(host.c_str(), flags, 0);
  bool existed = true;
  if (fd < 0) {
    host = vela::HostPathFromTerminal(lpFileName);
    for (int attempt = 0; attempt < 4; ++attempt) {
      if (dwCreationDisposition == CREATE_NEW) {
        fd = OpenRetryingInterrupts(host.c_str(), flags | O_CREAT | O_EXCL, createMode);
        existed = false;
        break;
      }
      fd = OpenRetryingInterrupts(host.c_str(), flags, 0);
      if (fd >= 0 || errno != ENOENT || dwCreationDisposition == OPEN_EXISTING ||
          dwCreationDisposition == TRUNCATE_EXISTING) {
        break;
      }
      fd = OpenRetryingInterrupts(host.c_str(), flags | O_CREAT | O_EXCL, createMode);
      if (fd >= 0 || errno != EEXIST) {
        existed = false;
        break;
      }
    }
  }
  if (fd < 0) {
    const DWORD error = vela::fileio::ErrorFromErrno(errno, host);
    // Only the fresh name of CREATE_NEW can collide; other dispositions reach here on a folder.
    return Fail(error == ERROR_FILE_EXISTS && dwCreationDisposition != CREATE_NEW
                    ? ERROR_ACCESS_DENIED
                    : error);
  }
  auto file = std::make_shared<vela::fileio::FileObject>(fd, read, write);
  if (const DWORD share = vela::fileio::AcquireShareLocks(fd, read, write, dwShareMode, write);
      share != ERROR_SUCCESS) {
    return Fail(share);
  }
  // One look at the open file after the share locks: a folder opened for reading, a read-only
  // file opened for writing by a superuser (whom the host would let write), and the size
  // that stays known while this handle denies write sharing. The size is taken only now so
  // that a writer that held the file until just before cannot leave it stale.
  const bool keepSize = (read || write) && !(dwShareMode & FILE_SHARE_WRITE);
  if (keepSize || (existed && (!write || WritesAnything()))) {
    struct stat st;
    if (fstat(fd, &st) != 0) {
      return Fail(vela::fileio::ErrorFromErrno(errno, host));
    }
    if (S_ISDIR(st.st_mode) ||
        (existed && write && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
      return Fail(ERROR_ACCESS_DENIED);
    }
    if (keepSize && S_ISREG(st.st_mode)) {
      file->knownSize = st.st_size;
    }
  }
  // Truncate only once the share check passed, so another holder's data is never cut.
  if (existed && (dwCreationDisposition == CREATE_ALWAYS ||
                  dwCreationDisposition == TRUNCATE_EXISTING)) {
    if (ftruncate(fd, 0) != 0) {
      return Fail(vela::fileio::ErrorFromErrno(errno, host));
    }
    if (file->knownSize) {
      file->knownSize = 0;
    }
  }
  HANDLE handle = vela::kernel::InsertHandle(std::move(file));
  if (!handle) {
    return Fail(ERROR_TOO_MANY_OPEN_FILES);
  }
  if (dwCreationDisposition == OPEN_ALWAYS || dwCreationDisposition == CREATE_ALWAYS) {
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  }
  return handle;
}

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
  if (!lpFileName) {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::optional<std::u16string> name = vela::fileio::WideFromAnsi(lpFileName);
  if (!name) {
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(name->c_str(), dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                     dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
}
