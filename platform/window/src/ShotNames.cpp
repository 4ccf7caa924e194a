#include "ShotNames.h"

#include <cstdio>
#include <filesystem>

namespace vela::window {

ShotNames::Next ShotNames::Take() {
  // As a script's shots: the folder is made when it is not there yet.
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::create_directories(folder_, ignored);
  for (;;) {
    char name[32];
    std::snprintf(name, sizeof name, "vela-shot-%03d.png", ++counter_);
    const std::filesystem::path path = folder_.empty() ? std::filesystem::path(name) : std::filesystem::path(folder_) / name;
    if (!std::filesystem::exists(path, ignored)) return {name, path.string()};
  }
}

std::string NumberedPath(const std::string& path, int use) {
  if (use < 2) return path;
  std::filesystem::path p(path);
  const std::string extension = p.extension().string();
  p.replace_extension();
  return p.string() + "-" + std::to_string(use) + extension;
}

}  // namespace vela::window
