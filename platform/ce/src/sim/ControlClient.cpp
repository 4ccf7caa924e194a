// Talking to every process of one terminal: listing them, sending a request to each, and an
// action applied here and everywhere else.
#include <vela/DeviceAction.h>
#include <vela/SimControl.h>
#include <vela/TerminalFileSystem.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>

#include "sim/ControlSocket.h"

namespace vela::sim {
namespace {

std::vector<int> SocketProcessIds(const control::Folder& folder) {
  std::vector<int> ids;
  if (!folder.IsOpen()) return ids;
  DIR* listing = opendir(folder.Path().c_str());
  if (!listing) return ids;
  while (const dirent* entry = readdir(listing)) {
    if (const int id = control::ProcessIdOfSocketName(entry->d_name)) ids.push_back(id);
  }
  closedir(listing);
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace

std::vector<int> ListeningProcesses(const std::string& hostRoot) {
  const control::Folder folder(control::SocketFolder(hostRoot), false);
  std::vector<int> live;
  for (const int id : SocketProcessIds(folder)) {
    const control::Exchange reached = control::Send(folder, control::SocketName(id), {});
    if (reached.outcome == control::Outcome::Answered) live.push_back(id);
  }
  return live;
}

std::vector<Reply> SendToAll(const std::string& hostRoot, std::string_view request, int exceptProcessId) {
  const control::Folder folder(control::SocketFolder(hostRoot), false);
  std::vector<Reply> replies;
  // One request is one line: a line break would send a second request nobody answers.
  std::string line(request);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  // An empty request would only test the connection; the listener says what it lacks.
  if (line.empty()) line = " ";
  for (const int id : SocketProcessIds(folder)) {
    if (id == exceptProcessId) continue;
    control::Exchange exchange = control::Send(folder, control::SocketName(id), line);
    switch (exchange.outcome) {
      case control::Outcome::Stale:
      case control::Outcome::Gone:
        break;
      case control::Outcome::NoAnswer:
        replies.push_back({id, std::move(exchange.text), false});
        break;
      case control::Outcome::Answered: {
        const bool refused = exchange.text.rfind("error:", 0) == 0;
        replies.push_back({id, std::move(exchange.text), !refused});
        break;
      }
    }
  }
  return replies;
}

std::string ApplyEverywhere(std::string_view words) {
  if (std::string error = device::ApplyAction(words); !error.empty()) return error;
  // The flip key is a key: it goes to the program in front, not to every program.
  if (words.find_first_not_of(" \t") != std::string_view::npos &&
      words.substr(words.find_first_not_of(" \t")).starts_with("flip")) {
    return {};
  }
  std::string refusals;
  for (const Reply& reply : SendToAll(TerminalRoot(), words, static_cast<int>(getpid()))) {
    if (reply.accepted) continue;
    if (!refusals.empty()) refusals += '\n';
    refusals += "process " + std::to_string(reply.processId) + ": " + reply.text;
  }
  return refusals;
}

}  // namespace vela::sim
