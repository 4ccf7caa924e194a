// The host side of vela-sim: environment variables and exec.
#include <vela/HostExec.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vela::host {

void SetEnvironment(const std::vector<std::pair<std::string, std::string>>& variables) {
  for (const auto& [name, value] : variables) {
    if (value.empty()) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
}

std::string Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? value : "";
}

bool IsRunnableFile(const std::string& hostPath) {
  struct stat info {};
  return stat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(hostPath.c_str(), X_OK) == 0;
}

std::string ReplaceProcess(const std::string& hostPath, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(hostPath.c_str(), argv.data());
  return std::strerror(errno);
}

}  // namespace vela::host
