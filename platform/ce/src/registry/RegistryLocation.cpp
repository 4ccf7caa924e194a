// Which hives the predefined keys name: the terminal's, or the desktop's.
#include <vela/Registry.h>
#include <vela/TerminalFileSystem.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "files/HostPath.h"

namespace vela {
namespace {

std::atomic<RegistrySide> g_side{RegistrySide::Terminal};

std::string Absolute(const std::string& path) {
  return files::JoinHostComponents(files::NormalizedHostComponents(path));
}

}  // namespace

void SelectRegistry(RegistrySide side) { g_side = side; }

std::string DesktopRoot() {
  if (const char* env = std::getenv("VELA_DESKTOP_ROOT"); env && *env) return Absolute(env);
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
    return Absolute(std::string(data) + "/vela/desktop");
  }
  if (const char* home = std::getenv("HOME"); home && *home == '/') {
    return Absolute(std::string(home) + "/.local/share/vela/desktop");
  }
  return "/tmp/vela-desktop-" + std::to_string(getuid());
}

std::string RegistryFolder() {
  const std::string root = g_side == RegistrySide::Desktop ? DesktopRoot() : TerminalRoot();
  return (root == "/" ? std::string() : root) + "/Registry";
}

}  // namespace vela
