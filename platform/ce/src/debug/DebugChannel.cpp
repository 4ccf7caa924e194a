#include "debug/DebugChannel.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace vela::debug {
namespace {

constexpr int kNotChosen = -2;
constexpr int kDiscard = -1;

std::mutex g_mutex;
int g_fd = kNotChosen;
bool g_ownsFd = false;

int ChooseChannel() {
  const char* setting = std::getenv("VELA_DEBUG");
  if (!setting || !*setting || std::strcmp(setting, "off") == 0) {
    return kDiscard;
  }
  if (std::strcmp(setting, "stderr") == 0) {
    return STDERR_FILENO;
  }
  const int fd = open(setting, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  g_ownsFd = fd >= 0;
  return fd >= 0 ? fd : kDiscard;
}

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;  // debug output never fails its caller
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

}  // namespace

void WriteDebugChannel(std::string_view text) {
  std::lock_guard lock(g_mutex);
  if (g_fd == kNotChosen) {
    g_fd = ChooseChannel();
  }
  if (g_fd != kDiscard && !text.empty()) {
    const int savedErrno = errno;
    WriteAll(g_fd, text.data(), text.size());
    errno = savedErrno;
  }
}

bool DebugChannelDiscards() {
  std::lock_guard lock(g_mutex);
  if (g_fd == kNotChosen) {
    const int savedErrno = errno;
    g_fd = ChooseChannel();
    errno = savedErrno;
  }
  return g_fd == kDiscard;
}

void ResetDebugChannelForTests() {
  std::lock_guard lock(g_mutex);
  if (g_ownsFd) {
    close(g_fd);
  }
  g_fd = kNotChosen;
  g_ownsFd = false;
}

}  // namespace vela::debug
