// A fresh temporary folder as VELA_ROOT for the life of one test; the variable is restored
// and the folder removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace vela::testing {

// Sets (or, given nullopt, removes) an environment variable until the end of the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    Apply(value);
  }
  ~ScopedEnv() { Apply(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Apply(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_, value->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> old_;
};

inline std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vela-ce-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    ADD_FAILURE() << "mkdtemp failed";
  }
  return pattern;
}

class ScopedTerminalRoot {
 public:
  ScopedTerminalRoot() : path_(MakeTempFolder()), env_("VELA_ROOT", path_) {}
  ~ScopedTerminalRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedTerminalRoot(const ScopedTerminalRoot&) = delete;
  ScopedTerminalRoot& operator=(const ScopedTerminalRoot&) = delete;

  const std::string& path() const { return path_; }
  std::string Host(std::string_view relative) const { return path_ + "/" + std::string(relative); }

  void MakeFolder(std::string_view relative) const {
    std::filesystem::create_directories(Host(relative));
  }
  void WriteBytes(std::string_view relative, std::string_view bytes) const {
    std::ofstream out(Host(relative), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string ReadBytes(std::string_view relative) const {
    std::ifstream in(Host(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string path_;
  ScopedEnv env_;
};

}  // namespace vela::testing
