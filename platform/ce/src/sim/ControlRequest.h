// What the control listener answers to one request line (see vela/SimControl.h).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vela::sim::control {

// The full reply, line ends included: "ok\n", "error: ...\n", or a state text ending "\n.\n".
// Never throws; bytes of the request echoed in an error are made printable.
std::string AnswerRequest(std::string_view line);

// Who hears of each action carried out (vela::sim::SetActionObserver).
void SetObserver(std::function<void(std::string_view)> observer);

// The reply to a request line longer than kMaxRequestLength.
std::string AnswerTooLong();

}  // namespace vela::sim::control
