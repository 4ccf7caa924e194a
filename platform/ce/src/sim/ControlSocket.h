// The control sockets' folder and addresses, and one request/reply exchange with a listener.
#pragma once

#include <string>
#include <string_view>

namespace vela::sim::control {

// <host root>/.vela-sim
std::string SocketFolder(const std::string& hostRoot);
// "<pid>.sock"
std::string SocketName(int processId);
// The process id of a socket's file name, or 0 when the name is not one of ours.
int ProcessIdOfSocketName(std::string_view name);

// The folder opened for *at() calls and for addresses through /proc/self/fd, which is how a
// socket path longer than sockaddr_un allows is still reached. Closes on destruction.
class Folder {
 public:
  // create: make the folder (private to the user) when it is missing.
  Folder(const std::string& path, bool create);
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  // The address of a socket in the folder for bind/connect; false when even the short form
  // does not fit.
  bool Address(const std::string& name, void* sockaddrUn, unsigned& length) const;

 private:
  std::string path_;
  int fd_ = -1;
};

enum class Outcome {
  Answered,   // text holds the reply: a one-line reply without its line end; of a longer
              // one its lines before the closing ".", each with its line end
  Stale,      // the socket file is there but nobody listens: the file was deleted
  Gone,       // no such socket any more
  NoAnswer,   // connected, but no complete reply came (text says what happened)
};

struct Exchange {
  Outcome outcome = Outcome::Gone;
  std::string text;
};

// Sends request (without its line end) to the socket name in folder and reads the reply. An
// empty request only checks that someone listens (Answered with an empty text).
Exchange Send(const Folder& folder, const std::string& name, std::string_view request);

// How long a client waits for a listener to take and answer a request (host time: this is the
// guard against a process that hangs, not part of any simulated timeline).
inline constexpr int kReplyTimeoutMs = 5000;

}  // namespace vela::sim::control
