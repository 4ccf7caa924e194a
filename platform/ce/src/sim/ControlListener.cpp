// This process's control listener: one thread that polls the socket and its clients, so a
// client that sends half a line, sends too much or goes away never stops the others.
#include <vela/SimControl.h>
#include <vela/TerminalFileSystem.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "sim/ControlRequest.h"
#include "sim/ControlSocket.h"

namespace vela::sim {
namespace {

using Clock = std::chrono::steady_clock;

// More clients at once than any person or program needs; a flood cannot grow the poll set.
constexpr size_t kMaxClients = 32;
// A client that has not finished its line by then is dropped (host time).
constexpr auto kClientIdleLimit = std::chrono::seconds(10);

struct Client {
  int fd = -1;
  std::string received;
  Clock::time_point since;
};

struct Listener {
  std::mutex mutex;  // start, stop and the exit handler
  std::thread thread;
  std::unique_ptr<control::Folder> folder;
  std::string name;  // of the socket file in the folder
  std::string path;
  int socketFd = -1;
  int wakeFds[2] = {-1, -1};
  bool running = false;
  bool exitHandlerSet = false;
};

// Never destroyed: the exit handler may run after static objects are gone.
Listener& TheListener() {
  static auto* listener = new Listener;
  return *listener;
}

void Reply(int fd, const std::string& reply) {
  // Back to blocking with a bound: a state text is bigger than one poll round may take.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  timeval limit{control::kReplyTimeoutMs / 1000, 0};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  std::string_view rest = reply;
  while (!rest.empty()) {
    const ssize_t sent = send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return;  // the client went away: nothing to tell
    rest.remove_prefix(static_cast<size_t>(sent));
  }
}

// Reads what the client has; true when the client is done with (answered or gone).
bool Serve(Client& client) {
  char buffer[1024];
  for (;;) {
    const ssize_t got = recv(client.fd, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno != EAGAIN && errno != EWOULDBLOCK;
    if (got == 0) {
      // A client that ends its request by closing its side still gets the answer.
      if (!client.received.empty()) Reply(client.fd, control::AnswerRequest(client.received));
      return true;
    }
    client.received.append(buffer, static_cast<size_t>(got));
    const size_t end = client.received.find('\n');
    if (end != std::string::npos && end <= kMaxRequestLength) {
      Reply(client.fd, control::AnswerRequest(std::string_view(client.received).substr(0, end)));
      return true;
    }
    if (client.received.size() > kMaxRequestLength) {
      Reply(client.fd, control::AnswerTooLong());
      return true;
    }
  }
}

void Run(int socketFd, int wakeFd) {
  std::vector<Client> clients;
  for (;;) {
    std::vector<pollfd> polled{{wakeFd, POLLIN, 0}, {socketFd, POLLIN, 0}};
    for (const Client& client : clients) polled.push_back({client.fd, POLLIN, 0});
    const int ready = poll(polled.data(), polled.size(), clients.empty() ? -1 : 1000);
    if (ready < 0 && errno != EINTR) break;
    if (polled[0].revents != 0) break;  // StopListener
    const Clock::time_point now = Clock::now();
    for (size_t i = clients.size(); i-- > 0;) {
      Client& client = clients[i];
      const short events = polled[i + 2].revents;
      const bool done = events != 0 ? Serve(client) : now - client.since > kClientIdleLimit;
      if (done) {
        close(client.fd);
        clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    if (polled[1].revents & POLLIN) {
      const int fd = accept4(socketFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd >= 0 && clients.size() >= kMaxClients) {
        close(fd);
      } else if (fd >= 0) {
        clients.push_back({fd, {}, now});
      }
    }
  }
  for (const Client& client : clients) close(client.fd);
}

void RemoveSocketFile(Listener& listener) {
  if (listener.folder) unlinkat(listener.folder->Fd(), listener.name.c_str(), 0);
}

void CloseAll(Listener& listener) {
  for (int& fd : {std::ref(listener.socketFd), std::ref(listener.wakeFds[0]), std::ref(listener.wakeFds[1])}) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  listener.folder.reset();
  listener.path.clear();
  listener.running = false;
}

bool Refuse(Listener& listener, const std::string& what) {
  std::fprintf(stderr, "control listener: %s: %s\n", what.c_str(), std::strerror(errno));
  CloseAll(listener);
  return false;
}

}  // namespace

bool StartListener() {
  Listener& listener = TheListener();
  std::lock_guard lock(listener.mutex);
  if (listener.running) return true;
  const std::string folderPath = control::SocketFolder(TerminalRoot());
  listener.folder = std::make_unique<control::Folder>(folderPath, true);
  if (!listener.folder->IsOpen()) return Refuse(listener, "cannot open " + folderPath);

  const int pid = static_cast<int>(getpid());
  listener.name = control::SocketName(pid);
  // Bound under a name clients ignore, listening, and only then renamed into view: a client
  // never meets the socket between bind and listen and takes it for a stale one.
  const std::string preparing = "." + listener.name + ".new";
  sockaddr_un address{};
  unsigned length = 0;
  if (!listener.folder->Address(preparing, &address, length)) {
    errno = ENAMETOOLONG;
    return Refuse(listener, "cannot address a socket in " + folderPath);
  }
  listener.socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener.socketFd < 0) return Refuse(listener, "socket");
  unlinkat(listener.folder->Fd(), preparing.c_str(), 0);  // left by an earlier process of this id
  if (bind(listener.socketFd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    return Refuse(listener, "cannot bind " + folderPath + "/" + preparing);
  }
  if (listen(listener.socketFd, 16) != 0 ||
      renameat(listener.folder->Fd(), preparing.c_str(), listener.folder->Fd(), listener.name.c_str()) != 0) {
    unlinkat(listener.folder->Fd(), preparing.c_str(), 0);
    return Refuse(listener, "cannot listen on " + folderPath + "/" + listener.name);
  }
  if (pipe2(listener.wakeFds, O_CLOEXEC) != 0) {
    RemoveSocketFile(listener);
    return Refuse(listener, "pipe");
  }
  listener.path = folderPath + "/" + listener.name;
  listener.running = true;
  listener.thread = std::thread(Run, listener.socketFd, listener.wakeFds[0]);
  if (!listener.exitHandlerSet) {
    listener.exitHandlerSet = true;
    // A program that ends through exit() without StopListener still takes its socket along.
    std::atexit([] {
      Listener& l = TheListener();
      std::lock_guard exitLock(l.mutex);
      if (l.running) RemoveSocketFile(l);
    });
  }
  return true;
}

void StopListener() {
  Listener& listener = TheListener();
  std::lock_guard lock(listener.mutex);
  if (!listener.running) return;
  // Out of sight first: a client that still finds the file finds someone listening, and never
  // takes a live socket for a stale one.
  RemoveSocketFile(listener);
  const char byte = 1;
  (void)!write(listener.wakeFds[1], &byte, 1);
  if (listener.thread.joinable()) listener.thread.join();
  CloseAll(listener);
}

void SetActionObserver(std::function<void(std::string_view words)> observer) {
  control::SetObserver(std::move(observer));
}

std::string ListenerPath() {
  Listener& listener = TheListener();
  std::lock_guard lock(listener.mutex);
  return listener.path;
}

}  // namespace vela::sim
