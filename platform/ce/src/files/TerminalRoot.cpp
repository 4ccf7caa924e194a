// Where the terminal's root folder lives on the host.
#include <vela/TerminalFileSystem.h>

#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

#include <strings.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "files/HostPath.h"

namespace vela {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') {
    return home;
  }
  struct passwd pw;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && pw.pw_dir) {
    return pw.pw_dir;
  }
  return {};
}

std::string DefaultRoot() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
    return std::string(data) + "/vela/root";
  }
  const std::string home = HomeFolder();
  if (!home.empty()) {
    return home + "/.local/share/vela/root";
  }
  return "/tmp/vela-root-" + std::to_string(getuid());
}

// A folder of the root whose name matches without regard to case ("windows" counts as
// "Windows"), so that a root a person made by hand is not given a second one.
bool HasFolderNamed(const std::string& root, const char* name) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
    if (strcasecmp(entry.path().filename().c_str(), name) == 0 && entry.is_directory(error)) {
      return true;
    }
  }
  return false;
}

// The terminal always has \Windows and \Temp, so every root gets them when they are missing.
// This is done once per root; VELA_ROOT is read on every call so that a changed variable
// (a test's temporary root) takes effect at once.
void EnsureRootExists(const std::string& root) {
  static std::mutex mutex;
  static std::string ensured;
  std::lock_guard lock(mutex);
  if (root == ensured) {
    return;
  }
  files::MakeHostFolders(root);
  for (const char* folder : {"Windows", "Temp"}) {
    if (!HasFolderNamed(root, folder)) {
      files::MakeHostFolders(root + "/" + folder);
    }
  }
  ensured = root;
}

}  // namespace

std::string TerminalRoot() {
  const char* env = std::getenv("VELA_ROOT");
  const bool isDefault = !env || !*env;
  const std::string root =
      files::JoinHostComponents(files::NormalizedHostComponents(isDefault ? DefaultRoot() : env));
  EnsureRootExists(root);
  return root;
}

}  // namespace vela
