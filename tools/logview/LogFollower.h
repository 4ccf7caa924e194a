// Reads the complete lines that a log file has gained since the last look. A line still being
// written (no line end yet) waits for the next look; a file that became shorter was started
// anew, so reading begins again at its start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vela::logview {

class LogFollower {
 public:
    explicit LogFollower(std::string hostPath) : path_(std::move(hostPath)) {}

    // The new complete lines, without CR LF; empty when the file is missing or unchanged.
    std::vector<std::string> ReadNewLines();
    // Whether the file could be opened at the last look.
    bool Exists() const { return exists_; }

 private:
    std::string path_;
    std::uint64_t offset_ = 0;
    std::string pending_;
    bool exists_ = false;
};

}  // namespace vela::logview
