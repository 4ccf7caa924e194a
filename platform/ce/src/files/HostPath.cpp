#include "files/HostPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vela::files {
namespace {

std::string WorkingFolder() {
  std::string buffer(256, '\0');
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) {
      return "/";
    }
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

void AppendComponents(std::vector<std::string>& out, std::string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) {
      end = path.size();
    }
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (!out.empty()) {
        out.pop_back();
      }
    } else if (!part.empty() && part != ".") {
      out.emplace_back(part);
    }
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> NormalizedHostComponents(std::string_view hostPath) {
  std::vector<std::string> out;
  if (hostPath.empty() || hostPath.front() != '/') {
    AppendComponents(out, WorkingFolder());
  }
  AppendComponents(out, hostPath);
  return out;
}

std::string JoinHostComponents(const std::vector<std::string>& components) {
  if (components.empty()) {
    return "/";
  }
  std::string path;
  for (const std::string& c : components) {
    path += '/';
    path += c;
  }
  return path;
}

bool MakeHostFolders(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    return S_ISDIR(st.st_mode);
  }
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
      return false;
    }
    if (slash == std::string::npos) {
      return true;
    }
  }
}

}  // namespace vela::files
