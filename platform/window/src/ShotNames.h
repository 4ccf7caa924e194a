// File names for the window's screenshots: vela-shot-001.png, -002 ... never over an earlier one.
#pragma once

#include <string>

namespace vela::window {

class ShotNames {
 public:
  explicit ShotNames(std::string folder) : folder_(std::move(folder)) {}
  // The next free name (as a script names it) and its host path.
  struct Next {
    std::string name;
    std::string path;
  };
  Next Take();

 private:
  std::string folder_;
  int counter_ = 0;
};

// path, or path with "-N" before its extension for the N-th (N >= 2) use in one session.
std::string NumberedPath(const std::string& path, int use);

}  // namespace vela::window
