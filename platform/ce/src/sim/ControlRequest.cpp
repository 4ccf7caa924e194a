// Answers to control requests: terminal actions, the state, the program's name.
#include "sim/ControlRequest.h"

#include <libloaderapi.h>
#include <vela/DeviceAction.h>
#include <vela/SimControl.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <exception>
#include <mutex>

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

struct Observer {
  std::mutex mutex;
  std::function<void(std::string_view)> observer;
};

Observer& TheObserver() {
  static auto* observer = new Observer;  // never destroyed: the listener may outlive statics
  return *observer;
}

void TellObserver(std::string_view words) {
  std::function<void(std::string_view)> observer;
  {
    std::lock_guard lock(TheObserver().mutex);
    observer = TheObserver().observer;
  }
  if (observer) observer(words);
}

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
    if (!error.empty()) return Error(error);
    TellObserver(request);
    return "ok\n";
  } catch (const std::exception& e) {
    // The listener serves the next request whatever this one did.
    return Error(std::string("the request failed: ") + e.what());
  }
}

void SetObserver(std::function<void(std::string_view)> observer) {
  std::lock_guard lock(TheObserver().mutex);
  TheObserver().observer = std::move(observer);
}

std::string AnswerTooLong() {
  return Error("a request is one line of at most " + std::to_string(kMaxRequestLength) + " bytes");
}

}  // namespace vela::sim::control
