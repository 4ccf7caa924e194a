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

// The size of the file: known while no one else may write, otherwise asked of the host.
bool CurrentSize(FileObject& file, int64_t& size) {
  if (file.knownSize) {
    size = *file.knownSize;
    return true;
  }
  struct stat st;
  if (fstat(file.fd(), &st) != 0) {
    return false;
  }
  size = st.st_size;
  return true;
}

DWORD IoError(int error, DWORD fallback) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EIO: return fallback;
    default: return vela::fileio::ErrorFromErrno(error, std::string());
  }
}

// Reads or writes at the handle's pointer; devices that cannot seek use the plain calls.
ssize_t ReadAt(int fd, void* buffer, size_t count, int64_t position) {
  const ssize_t n = pread(fd, buffer, count, position);
  return n < 0 && errno == ESPIPE ? read(fd, buffer, count) : n;
}

ssize_t WriteAt(int fd, const void* buffer, size_t count, int64_t position) {
  const ssize_t n = pwrite(fd, buffer, count, position);
  return n < 0 && errno == ESPIPE ? write(fd, buffer, count) : n;
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
  std::lock_guard lock(file->mutex);
  DWORD done = 0;
  while (done < nNumberOfBytesToRead) {
    const ssize_t n = ReadAt(file->fd(), out + done, nNumberOfBytesToRead - done, file->position);
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
    file->position += n;
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
  std::lock_guard lock(file->mutex);
  DWORD done = 0;
  BOOL ok = TRUE;
  while (done < nNumberOfBytesToWrite) {
    const ssize_t n = WriteAt(file->fd(), in + done, nNumberOfBytesToWrite - done, file->position);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      ok = Fail(IoError(errno, ERROR_WRITE_FAULT));
      break;
    }
    done += static_cast<DWORD>(n);
    file->position += n;
  }
  if (file->knownSize && file->position > *file->knownSize) {
    file->knownSize = file->position;
  }
  *lpNumberOfBytesWritten = done;
  return ok;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return INVALID_SET_FILE_POINTER;
  }
  // Without the high part the distance is a signed 32-bit number; with it, the two halves
  // form a signed 64-bit one.
  const int64_t distance =
      lpDistanceToMoveHigh
          ? static_cast<int64_t>((uint64_t(uint32_t(*lpDistanceToMoveHigh)) << 32) | uint32_t(lDistanceToMove))
          : int64_t{lDistanceToMove};
  std::lock_guard lock(file->mutex);
  int64_t from = 0;
  switch (dwMoveMethod) {
    case FILE_BEGIN: break;
    case FILE_CURRENT: from = file->position; break;
    case FILE_END:
      if (!CurrentSize(*file, from)) {
        SetLastError(IoError(errno, ERROR_READ_FAULT));
        return INVALID_SET_FILE_POINTER;
      }
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_SET_FILE_POINTER;
  }
  // Both fit in 63 bits, so the sum cannot overflow.
  const int64_t position = from + distance;
  if (position < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  if (!lpDistanceToMoveHigh && position > 0xFFFFFFFE) {
    // Past 4 GB cannot be told without the high part; the pointer stays.
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  file->position = position;
  if (lpDistanceToMoveHigh) {
    *lpDistanceToMoveHigh = static_cast<LONG>(uint64_t(position) >> 32);
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
  std::lock_guard lock(file->mutex);
  if (ftruncate(file->fd(), file->position) != 0) {
    return Fail(IoError(errno, ERROR_WRITE_FAULT));
  }
  if (file->knownSize) {
    file->knownSize = file->position;
  }
  return TRUE;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  std::shared_ptr<FileObject> file = OpenFile(hFile);
  if (!file) {
    return INVALID_FILE_SIZE;
  }
  int64_t size = 0;
  {
    std::lock_guard lock(file->mutex);
    if (!CurrentSize(*file, size)) {
      SetLastError(IoError(errno, ERROR_READ_FAULT));
      return INVALID_FILE_SIZE;
    }
  }
  if (lpFileSizeHigh) {
    *lpFileSizeHigh = static_cast<DWORD>(uint64_t(size) >> 32);
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
