// One simulated terminal across processes. Every application process of the simulator listens
// on a local socket <host root>/.vela-sim/<pid>.sock, so another shell (vela-ctl), the desktop
// window of another process, or a parent program can change this process's terminal:
//
//   request (one line, UTF-8, LF)      reply
//   a terminal action (DeviceAction)   "ok" or "error: <text>", one line
//   state                              the state text (StateText), then a line "."
//   program                            the program's terminal path, one line
//   anything else, or a line too long  "error: <text>"
//
// The connection ends after the reply. Actions change only the listening process's terminal;
// ApplyEverywhere and SendToAll reach every process under a root.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::sim {

// The longest request line taken; a longer one is answered with an error.
inline constexpr size_t kMaxRequestLength = 4096;

// Told each action this process's listener carried out for a request (on the listener's
// thread, after the change), so that a recording of the session can keep it. One observer; an
// empty function removes it.
void SetActionObserver(std::function<void(std::string_view words)> observer);

// Starts this process's listener thread on <TerminalRoot()>/.vela-sim/<pid>.sock. True when it
// runs (also when it ran already); false, with the reason on standard error, when the socket
// cannot be made. The socket file goes away at StopListener and at a normal exit.
bool StartListener();
// Stops the thread and removes the socket file; nothing when no listener runs.
void StopListener();
// The host path of this process's socket, or empty when no listener runs.
std::string ListenerPath();

// What one process answered.
struct Reply {
  int processId = 0;
  // The reply without its line ends ("ok", "error: ..."; the state text for "state"), or what
  // went wrong talking to the process.
  std::string text;
  // The process took the request ("ok", a state, a program); false for a refusal or a process
  // that stopped answering.
  bool accepted = false;
};

// The processes listening under a host root, by process id. Sockets nobody listens on any more
// are deleted on the way.
std::vector<int> ListeningProcesses(const std::string& hostRoot);

// Sends one request line to every process listening under hostRoot except exceptProcessId, in
// process-id order. Stale sockets are deleted and left out of the replies.
std::vector<Reply> SendToAll(const std::string& hostRoot, std::string_view request, int exceptProcessId = 0);

// Carries a terminal action out here, then sends it to every other process under this
// process's root, so the whole simulated terminal changes (the flip key, a key for the program
// in front, stays here). Empty on success; otherwise the
// local error (nothing was sent), or one line per process that refused. It waits for the other
// processes' answers, so call it from a thread of the simulator rather than the UI thread.
std::string ApplyEverywhere(std::string_view words);

}  // namespace vela::sim
