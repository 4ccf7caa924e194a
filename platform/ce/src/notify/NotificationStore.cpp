#include "notify/NotificationStore.h"

#include <vela/TerminalFileSystem.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "debug/DebugChannel.h"
#include "files/HostPath.h"

namespace vela::notify {
namespace {

void Report(const std::string& what) {
  debug::WriteDebugChannel("notify: " + what + ": " + std::strerror(errno) + "\n");
}

bool ReadAll(int fd, std::string& out) {
  char buffer[4096];
  while (true) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

class FileLock {
 public:
  explicit FileLock(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ >= 0) {
      while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) close(fd_);  // closing lets the lock go
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

bool Load(const std::string& path, NotificationTable& table) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;  // nothing registered yet
    Report("cannot read " + path);
    return false;
  }
  std::string text;
  const bool read = ReadAll(fd, text);
  close(fd);
  if (!read) {
    Report("cannot read " + path);
    return false;
  }
  table = ParseNotifications(text);
  return true;
}

bool Store(const std::string& path, const NotificationTable& table) {
  const std::string temp = path + ".new";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    Report("cannot write " + temp);
    return false;
  }
  const bool written = WriteAll(fd, FormatNotifications(table)) && fsync(fd) == 0;
  close(fd);
  if (!written || rename(temp.c_str(), path.c_str()) != 0) {
    Report("cannot write " + path);
    unlink(temp.c_str());
    return false;
  }
  const std::string folder = path.substr(0, path.rfind('/'));
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

}  // namespace

bool WithNotifications(const std::function<bool(NotificationTable&)>& work) {
  const std::string path = HostPathFromTerminal(u"\\Windows\\Notifications.txt");
  if (!files::MakeHostFolders(path.substr(0, path.rfind('/')))) {
    Report("cannot create the folder of " + path);
    return false;
  }
  const FileLock lock(HostPathFromTerminal(u"\\Windows\\Notifications.lock"));
  if (!lock.Held()) {
    Report("cannot lock the notification database");
    return false;
  }
  NotificationTable table;
  if (!Load(path, table)) {
    return false;
  }
  if (!work(table)) {
    return true;
  }
  return Store(path, table);
}

}  // namespace vela::notify
