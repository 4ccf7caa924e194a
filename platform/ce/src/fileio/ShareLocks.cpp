#include "fileio/ShareLocks.h"

#include <fileapi.h>

#include <fcntl.h>
#include <sys/file.h>

#include <atomic>
#include <cerrno>
#include <cstdint>

#include "debug/DebugChannel.h"

namespace vela::fileio {
namespace {

// Far past any file a terminal holds, with room for the four bytes.
constexpr off_t kBase = INT64_MAX - 0xFF;
enum Byte : off_t { kHasRead = 0, kHasWrite = 1, kDeniesRead = 2, kDeniesWrite = 3, kBytes = 4 };

enum class LockResult { Taken, Conflict, Unsupported };

LockResult Lock(int fd, short type, off_t first, off_t count) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kBase + first;
  lock.l_len = count;
  while (fcntl(fd, F_OFD_SETLK, &lock) != 0) {
    if (errno == EAGAIN || errno == EACCES) {
      return LockResult::Conflict;
    }
    if (errno != EINTR) {
      return LockResult::Unsupported;
    }
  }
  return LockResult::Taken;
}

// Whether another open file description holds a lock on the byte.
bool HeldByOther(int fd, off_t byte) {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = kBase + byte;
  probe.l_len = 1;
  if (fcntl(fd, F_OFD_GETLK, &probe) != 0) {
    return false;
  }
  return probe.l_type != F_UNLCK;
}

void ReportUnsupported() {
  static std::atomic<bool> reported{false};
  if (!reported.exchange(true)) {
    debug::WriteDebugChannel("fileio: this host file system has no record locks; share modes are not enforced on it\n");
  }
}

// Serialises the register-then-check step of opens that share something, so that two of them
// never both see the other and both fail. A whole-file flock works on any descriptor mode.
class Guard {
 public:
  explicit Guard(int fd) : fd_(fd) {
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~Guard() { flock(fd_, LOCK_UN); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  int fd_;
};

// Drops what a refused open registered while still under the guard, so the next open does
// not see a holder that is about to go away.
DWORD Withdraw(int fd) {
  Lock(fd, F_UNLCK, 0, kBytes);
  return ERROR_SHARING_VIOLATION;
}

}  // namespace

DWORD AcquireShareLocks(int fd, bool read, bool write, DWORD shareMode, bool writableFd) {
  if (!read && !write) {
    return ERROR_SUCCESS;
  }
  const bool deniesRead = !(shareMode & FILE_SHARE_READ);
  const bool deniesWrite = !(shareMode & FILE_SHARE_WRITE);

  // An open that shares nothing conflicts with every other open with access: one write lock
  // over all four bytes is taken exactly when no other holder exists, atomically.
  if (deniesRead && deniesWrite && writableFd) {
    switch (Lock(fd, F_WRLCK, 0, kBytes)) {
      case LockResult::Taken: return ERROR_SUCCESS;
      case LockResult::Conflict: return ERROR_SHARING_VIOLATION;
      case LockResult::Unsupported: ReportUnsupported(); return ERROR_SUCCESS;
    }
  }

  const bool mine[kBytes] = {read, write, deniesRead, deniesWrite};
  Guard guard(fd);
  // Register first, then look: a shared lock is refused only by an exclusive holder.
  for (off_t first = 0; first < kBytes;) {
    if (!mine[first]) {
      ++first;
      continue;
    }
    off_t count = 1;
    while (first + count < kBytes && mine[first + count]) {
      ++count;
    }
    switch (Lock(fd, F_RDLCK, first, count)) {
      case LockResult::Taken: break;
      case LockResult::Conflict: return Withdraw(fd);
      case LockResult::Unsupported: ReportUnsupported(); return ERROR_SUCCESS;
    }
    first += count;
  }
  if ((read && HeldByOther(fd, kDeniesRead)) || (write && HeldByOther(fd, kDeniesWrite)) ||
      (deniesRead && HeldByOther(fd, kHasRead)) || (deniesWrite && HeldByOther(fd, kHasWrite))) {
    return Withdraw(fd);
  }
  return ERROR_SUCCESS;
}

}  // namespace vela::fileio
