// _wfopen: opens a file of the terminal's file system as a runtime-library stream.
#include <fileapi.h>
#include <wincrt.h>
#include <vela/TerminalFileSystem.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "crt/CookieStream.h"
#include "fileio/ShareLocks.h"

namespace {

struct OpenMode {
  int flags = 0;
  std::string stdioMode;
  bool text = true;
  // Done only after the share check, so a file another handle holds is never cut.
  bool truncate = false;
};

// "r", "w" or "a", then "+", "t" or "b" in any order. The runtime library's commit flags
// "c" and "n" are accepted and have no effect here.
bool ParseMode(const WCHAR* mode, OpenMode& out) {
  switch (*mode) {
    case u'r': out.flags = O_RDONLY; break;
    case u'w': out.flags = O_WRONLY | O_CREAT; out.truncate = true; break;
    case u'a': out.flags = O_WRONLY | O_CREAT | O_APPEND; break;
    default: return false;
  }
  out.stdioMode = static_cast<char>(*mode);
  bool plus = false;
  bool textOrBinary = false;
  for (const WCHAR* p = mode + 1; *p; ++p) {
    switch (*p) {
      case u'+':
        if (plus) return false;
        plus = true;
        out.flags = (out.flags & ~(O_RDONLY | O_WRONLY)) | O_RDWR;
        out.stdioMode += '+';
        break;
      case u't':
      case u'b':
        if (textOrBinary) return false;
        textOrBinary = true;
        out.text = *p == u't';
        break;
      case u'c':
      case u'n':
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

FILE* _wfopen(const WCHAR* filename, const WCHAR* mode) {
  OpenMode parsed;
  if (!filename || !mode || !*filename || !ParseMode(mode, parsed)) {
    errno = EINVAL;
    return nullptr;
  }
  // Writable streams open the descriptor for reading too, which the share locks need.
  const bool writable = (parsed.flags & O_ACCMODE) != O_RDONLY;
  const int flags = (parsed.flags & ~O_ACCMODE) | (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  // An existing file spelled as given opens without the case-blind look-up; only when that
  // finds nothing is the name matched without regard to case (and created there if the mode
  // creates), so a file of another case is never doubled.
  int fd = open(vela::HostPathAsSpelled(filename).c_str(), flags & ~O_CREAT);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    fd = open(vela::HostPathFromTerminal(filename).c_str(), flags, 0666);
  }
  if (fd < 0) {
    if (errno == EISDIR) {
      errno = EACCES;  // what the runtime library reports for a folder
    }
    return nullptr;
  }
  struct stat st;
  // The platform refuses to write a read-only file even to a privileged caller.
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
      (writable && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
    close(fd);
    errno = EACCES;
    return nullptr;
  }
  // The runtime library opens every stream sharing read and write: only a handle that
  // shares less keeps it out.
  if (vela::fileio::AcquireShareLocks(fd, !writable || (parsed.flags & O_ACCMODE) == O_RDWR,
                                      writable, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      writable) != ERROR_SUCCESS ||
      (parsed.truncate && ftruncate(fd, 0) != 0)) {
    close(fd);
    errno = EACCES;
    return nullptr;
  }
  return vela::crt::OpenDescriptorStream(fd, parsed.stdioMode.c_str(), parsed.text);
}
