// vela-ctl: terminal actions, the state, or the list of programs, for every simulator process
// under one terminal root.
#include "ControlCommand.h"

#include <vela/DeviceAction.h>
#include <vela/SimControl.h>

namespace vela::simctl {
namespace {

void Usage(std::ostream& out) {
  out << "usage: vela-ctl [--root DIR] ACTION...\n"
         "       vela-ctl [--root DIR] state\n"
         "       vela-ctl [--root DIR] list\n"
         "Changes the simulated terminal of every program running under the terminal's root\n"
         "(--root, or VELA_ROOT), prints its state, or lists the programs.\n"
         "Actions:\n"
      << device::ActionHelp();
}

int UsageError(std::ostream& err, const std::string& message) {
  err << "vela-ctl: " << message << "\n";
  Usage(err);
  return kUsage;
}

// Prints "PID: reply" lines (or what the caller makes of an accepted reply).
template <typename Accepted>
int Report(const std::vector<sim::Reply>& replies, const std::string& root, std::ostream& out, std::ostream& err,
           Accepted&& accepted) {
  if (replies.empty()) {
    err << "vela-ctl: no program of the simulator runs under " << root << "\n";
    return kRefusedOrNone;
  }
  int code = kDone;
  for (const sim::Reply& reply : replies) {
    if (reply.accepted) {
      accepted(reply);
    } else {
      out << reply.processId << ": " << (reply.text.rfind("error:", 0) == 0 ? "" : "error: ") << reply.text << "\n";
      code = kRefusedOrNone;
    }
  }
  return code;
}

}  // namespace

int RunControlCommand(const std::vector<std::string>& arguments, const std::function<std::string()>& defaultRoot,
                      std::ostream& out, std::ostream& err) {
  std::string root;
  size_t next = 0;
  // Options come first; after them every word belongs to the action ("signal -60").
  for (; next < arguments.size(); ++next) {
    const std::string& option = arguments[next];
    if (option == "--") {
      ++next;
      break;
    }
    if (option == "-h" || option == "--help") {
      Usage(out);
      return kDone;
    }
    if (option == "--root") {
      if (++next == arguments.size() || arguments[next].empty()) return UsageError(err, "--root needs a folder");
      root = arguments[next];
    } else if (option.rfind("--root=", 0) == 0) {
      root = option.substr(7);
      if (root.empty()) return UsageError(err, "--root needs a folder");
    } else if (option.rfind("--", 0) == 0) {
      return UsageError(err, "unknown option " + option);
    } else {
      break;
    }
  }
  if (root.empty()) root = defaultRoot();
  std::string words;
  for (; next < arguments.size(); ++next) {
    if (!words.empty()) words += ' ';
    words += arguments[next];
  }
  if (words.empty()) return UsageError(err, "say what to do");

  if (words == "list") {
    return Report(sim::SendToAll(root, "program"), root, out, err,
                  [&out](const sim::Reply& r) { out << r.processId << "  " << r.text << "\n"; });
  }
  if (words == "state") {
    return Report(sim::SendToAll(root, "state"), root, out, err,
                  [&out](const sim::Reply& r) { out << "; process " << r.processId << "\n" << r.text; });
  }
  // A misspelt action is the caller's mistake, told before any process is bothered.
  if (const std::string problem = device::CheckAction(words); !problem.empty()) return UsageError(err, problem);
  return Report(sim::SendToAll(root, words), root, out, err,
                [&out](const sim::Reply& r) { out << r.processId << ": " << r.text << "\n"; });
}

}  // namespace vela::simctl
