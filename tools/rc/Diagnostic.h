// Where a piece of a resource script came from, and the error that stops compilation.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace vela::rc {

struct SourceLocation {
  std::shared_ptr<const std::string> file;
  int line = 0;

  std::string ToString() const { return (file ? *file : std::string("<command line>")) + ":" + std::to_string(line); }
};

// Reported as "file:line: error: message".
class RcError : public std::runtime_error {
 public:
  RcError(const SourceLocation& where, const std::string& message)
      : std::runtime_error(where.ToString() + ": error: " + message) {}
  explicit RcError(const std::string& message) : std::runtime_error("vela-rc: error: " + message) {}
};

}  // namespace vela::rc
