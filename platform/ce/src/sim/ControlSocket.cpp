// Control socket paths and the client side of one exchange, over Unix stream sockets.
#include "sim/ControlSocket.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstring>

namespace vela::sim::control {
namespace {

// A state text is a few kilobytes; this only bounds a listener that talks without end.
constexpr size_t kMaxReplyLength = 1 << 20;

class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0) close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

void SetTimeouts(int fd, int ms) {
  timeval limit{ms / 1000, (ms % 1000) * 1000};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

}  // namespace

std::string SocketFolder(const std::string& hostRoot) {
  std::string folder = hostRoot;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder + ".vela-sim";
}

std::string SocketName(int processId) { return std::to_string(processId) + ".sock"; }

int ProcessIdOfSocketName(std::string_view name) {
  constexpr std::string_view kSuffix = ".sock";
  if (name.size() <= kSuffix.size() || name.substr(name.size() - kSuffix.size()) != kSuffix) return 0;
  const std::string_view digits = name.substr(0, name.size() - kSuffix.size());
  int id = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  if (error != std::errc() || end != digits.data() + digits.size() || id <= 0 || digits.front() == '0') return 0;
  return id;
}

Folder::Folder(const std::string& path, bool create) : path_(path) {
  if (create) mkdir(path.c_str(), 0700);  // EEXIST is fine; the open below tells the rest
  fd_ = open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

Folder::~Folder() {
  if (fd_ >= 0) close(fd_);
}

bool Folder::Address(const std::string& name, void* sockaddrUn, unsigned& length) const {
  auto* address = static_cast<sockaddr_un*>(sockaddrUn);
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  std::string path = path_ + "/" + name;
  if (path.size() >= sizeof address->sun_path) {
    // The kernel resolves the folder through this process's open descriptor of it.
    path = "/proc/self/fd/" + std::to_string(fd_) + "/" + name;
    if (path.size() >= sizeof address->sun_path) return false;
  }
  std::memcpy(address->sun_path, path.data(), path.size());
  length = static_cast<unsigned>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  return true;
}

Exchange Send(const Folder& folder, const std::string& name, std::string_view request) {
  sockaddr_un address{};
  unsigned length = 0;
  if (!folder.IsOpen() || !folder.Address(name, &address, length)) return {Outcome::Gone, "no such socket"};
  ScopedFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) return {Outcome::NoAnswer, std::string("socket: ") + std::strerror(errno)};
  SetTimeouts(fd.get(), kReplyTimeoutMs);
  int connected;
  do {
    connected = connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), length);
  } while (connected != 0 && errno == EINTR);
  if (connected != 0) {
    if (errno == ECONNREFUSED) {
      // Nobody listens: a process that ended without taking its socket along.
      unlinkat(folder.Fd(), name.c_str(), 0);
      return {Outcome::Stale, {}};
    }
    if (errno == ENOENT) return {Outcome::Gone, {}};
    return {Outcome::NoAnswer, std::string("connect: ") + std::strerror(errno)};
  }
  if (request.empty()) return {Outcome::Answered, {}};
  if (!SendAll(fd.get(), std::string(request) + "\n")) {
    return {Outcome::NoAnswer, std::string("send: ") + std::strerror(errno)};
  }
  shutdown(fd.get(), SHUT_WR);

  std::string reply;
  char buffer[4096];
  for (;;) {
    const ssize_t got = recv(fd.get(), buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      return {Outcome::NoAnswer, errno == EAGAIN || errno == EWOULDBLOCK ? "no answer in time"
                                                                         : std::string("recv: ") + std::strerror(errno)};
    }
    if (got == 0) break;
    reply.append(buffer, static_cast<size_t>(got));
    if (reply.size() > kMaxReplyLength) return {Outcome::NoAnswer, "the answer is too long"};
  }
  if (reply.empty() || reply.back() != '\n') return {Outcome::NoAnswer, "the answer broke off"};
  reply.pop_back();
  // A multi-line reply ends with a line ".".
  if (reply == "." || reply.ends_with("\n.")) {
    reply.resize(reply.size() - 1);
  } else if (reply.find('\n') != std::string::npos) {
    return {Outcome::NoAnswer, "the answer broke off"};
  }
  return {Outcome::Answered, std::move(reply)};
}

}  // namespace vela::sim::control
