// Answers to control requests: terminal actions, the state, the program's name.
#include "sim/ControlRequest.h"

#include <libloaderapi.h>
#include <vela/DeviceAction.h>
#include <vela/SimControl.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <exception>

namespace vela::sim::control {
namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A reply is one line: whatever the request held, control bytes do not pass into it.
std::string Printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

std::string Error(const std::string& text) { return "error: " + Printable(text) + "\n"; }

std::string ProgramPath() {
  char16_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Utf16ToUtf8(std::u16string_view(path, length));
}

}  // namespace

std::string AnswerRequest(std::string_view line) {
  const std::string_view request = Trim(line);
  try {
    if (request == "state") return terminal::StateText(terminal::Get().Get()) + ".\n";
    if (request == "program") return Printable(ProgramPath()) + "\n";
    const std::string error = device::ApplyAction(request);
    return error.empty() ? "ok\n" : Error(error);
  } catch (const std::exception& e) {
    // The listener serves the next request whatever this one did.
    return Error(std::string("the request failed: ") + e.what());
  }
}

std::string AnswerTooLong() {
  return Error("a request is one line of at most " + std::to_string(kMaxRequestLength) + " bytes");
}

}  // namespace vela::sim::control
