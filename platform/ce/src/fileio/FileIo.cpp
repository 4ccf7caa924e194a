// Reading, writing and positioning open files. Every write goes straight to the kernel.
#include <fileapi.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileio/FileObject.h"
#include "fileio/HostErrors.h"
#include "kernel/HandleTable.h"

namespace {

using vela::fileio::FileObject;

std::shared_ptr<FileObject> OpenFile(HANDLE handle) {
  std::shared_ptr<FileObject> file = vela::kernel::LookupHandleAs<FileObject>(handle);
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
  }
  return file;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

DWORD IoError(int error, DWORD fallback) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EIO: return fallback;
    default: return vela::fileio::ErrorFromErrno(error, std::string());
  }
}

}  // namespace

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
              LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) {
    *lpNumberOfBytesRead = 0;
  }
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return FALSE;
  }
  if (lpOverlapped || !lpNumberOfBytesRead || (!lpBuffer && nNumberOfBytesToRead)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (!file->canRead()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  auto* out = static_cast<char*>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToRead) {
    const ssize_t n = read(file->fd(), out + done, nNumberOfBytesToRead - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      *lpNumberOfBytesRead = done;
      return Fail(IoError(errno, ERROR_READ_FAULT));
    }
    if (n == 0) {
      break;  // end of file: success with fewer bytes
    }
    done += static_cast<DWORD>(n);
  }
  *lpNumberOfBytesRead = done;
  return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) {
    *lpNumberOfBytesWritten = 0;
  }
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return FALSE;
  }
  if (lpOverlapped || !lpNumberOfBytesWritten || (!lpBuffer && nNumberOfBytesToWrite)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (!file->canWrite()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  const auto* in = static_cast<const char*>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToWrite) {
    const ssize_t n = write(file->fd(), in + done, nNumberOfBytesToWrite - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      *lpNumberOfBytesWritten = done;
      return Fail(IoError(errno, ERROR_WRITE_FAULT));
    }
    done += static_cast<DWORD>(n);
  }
  *lpNumberOfBytesWritten = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return INVALID_SET_FILE_POINTER;
  }
  int whence;
  switch (dwMoveMethod) {
    case FILE_BEGIN: whence = SEEK_SET; break;
    case FILE_CURRENT: whence = SEEK_CUR; break;
    case FILE_END: whence = SEEK_END; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_SET_FILE_POINTER;
  }
  // Without the high part the distance is a signed 32-bit number; with it, the two halves
  // form a signed 64-bit one.
  const off_t distance =
      lpDistanceToMoveHigh
          ? static_cast<off_t>((uint64_t(uint32_t(*lpDistanceToMoveHigh)) << 32) | uint32_t(lDistanceToMove))
          : off_t{lDistanceToMove};
  const off_t position = lseek(file->fd(), distance, whence);
  if (position < 0) {
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : IoError(errno, ERROR_INVALID_PARAMETER));
    return INVALID_SET_FILE_POINTER;
  }
  if (lpDistanceToMoveHigh) {
    *lpDistanceToMoveHigh = static_cast<LONG>(uint64_t(position) >> 32);
  } else if (position > 0xFFFFFFFE) {
    // The caller cannot be told a position past 4 GB without the high part. Put the pointer
    // back where it was when that is known.
    if (whence != SEEK_END) {
      lseek(file->fd(), position - distance, SEEK_SET);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  const DWORD low = static_cast<DWORD>(position);
  if (low == INVALID_SET_FILE_POINTER) {
    SetLastError(NO_ERROR);  // a real position; the last error tells it from a failure
  }
  return low;
}

BOOL SetEndOfFile(HANDLE hFile) {
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return FALSE;
  }
  if (!file->canWrite()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  const off_t position = lseek(file->fd(), 0, SEEK_CUR);
  if (position < 0 || ftruncate(file->fd(), position) != 0) {
    return Fail(IoError(errno, ERROR_WRITE_FAULT));
  }
  return TRUE;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return INVALID_FILE_SIZE;
  }
  struct stat st;
  if (fstat(file->fd(), &st) != 0) {
    SetLastError(IoError(errno, ERROR_READ_FAULT));
    return INVALID_FILE_SIZE;
  }
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (lpFileSizeHigh) {
    *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  }
  const DWORD low = static_cast<DWORD>(size);
  if (low == INVALID_FILE_SIZE) {
    SetLastError(NO_ERROR);
  }
  return low;
}

BOOL FlushFileBuffers(HANDLE hFile) {
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return FALSE;
  }
  if (!file->canWrite()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  // Devices such as /dev/full have nothing to flush and say EINVAL.
  if (fsync(file->fd()) != 0 && errno != EINVAL && errno != EROFS) {
    return Fail(IoError(errno, ERROR_WRITE_FAULT));
  }
  return TRUE;
}
