#include <vela/Terminal.h>
#include <vela/TerminalIdentity.h>
#include <vela/Utf.h>

#include <unistd.h>

#include <climits>
#include <mutex>
#include <optional>

namespace vela {
namespace {

std::mutex g_mutex;
std::optional<std::u16string> g_hostName;
std::optional<std::u16string> g_machineName;

std::u16string HostMachineName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) {
    return u"localhost";
  }
  return Utf8ToUtf16(name);
}

}  // namespace

std::u16string TerminalHostName() {
  std::lock_guard lock(g_mutex);
  if (g_hostName) {
    return *g_hostName;
  }
  // Unless set here: the simulated terminal's name (its starting-state file), then the host's.
  if (const std::string named = terminal::Get().Get().identity.hostName; !named.empty()) {
    return Utf8ToUtf16(named);
  }
  if (!g_machineName) {
    g_machineName = HostMachineName();
  }
  return *g_machineName;
}

void SetTerminalHostName(std::u16string name) {
  std::lock_guard lock(g_mutex);
  g_hostName = std::move(name);
}

void ResetTerminalHostName() {
  std::lock_guard lock(g_mutex);
  g_hostName.reset();
}

}  // namespace vela
