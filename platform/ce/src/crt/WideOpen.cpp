// _wfopen: opens a file of the terminal's file system as a runtime-library stream.
#include <wincrt.h>
#include <vela/TerminalFileSystem.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "crt/CookieStream.h"

namespace {

struct OpenMode {
  int flags = 0;
  std::string stdioMode;
  bool text = true;
};

// "r", "w" or "a", then "+", "t" or "b" in any order. The runtime library's commit flags
// "c" and "n" are accepted and have no effect here.
bool ParseMode(const WCHAR* mode, OpenMode& out) {
  switch (*mode) {
    case u'r': out.flags = O_RDONLY; break;
    case u'w': out.flags = O_WRONLY | O_CREAT | O_TRUNC; break;
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
  const std::string host = vela::HostPathFromTerminal(filename);
  const int fd = open(host.c_str(), parsed.flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EISDIR) {
      errno = EACCES;  // what the runtime library reports for a folder
    }
    return nullptr;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    errno = EACCES;
    return nullptr;
  }
  return vela::crt::OpenDescriptorStream(fd, parsed.stdioMode.c_str(), parsed.text);
}
