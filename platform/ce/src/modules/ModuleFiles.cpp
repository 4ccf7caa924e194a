#include "modules/ModuleFiles.h"

#include <vela/Modules.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <dlfcn.h>
#include <limits.h>
#include <sys/auxv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "debug/DebugChannel.h"

namespace vela::modules {

HMODULE ExecutableModule() {
  static const HMODULE module = [] {
    Dl_info info;
    const void* phdr = reinterpret_cast<const void*>(getauxval(AT_PHDR));
    return phdr && dladdr(phdr, &info) ? static_cast<HMODULE>(info.dli_fbase) : HMODULE{};
  }();
  return module;
}

std::string ExecutableHostPath() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

namespace {

std::mutex g_overrideMutex;
std::optional<std::u16string> g_executablePath;

}  // namespace

std::optional<std::u16string> ExecutablePathOverride() {
  std::lock_guard lock(g_overrideMutex);
  return g_executablePath;
}

bool IsLoadedImage(HMODULE module) {
  if (!module) {
    return false;
  }
  Dl_info info;
  return dladdr(module, &info) != 0 && info.dli_fbase == module;
}

std::string AbsoluteHostPath(std::string_view path) {
  if (!path.empty() && path.front() == '/') {
    return std::string(path);
  }
  char resolved[PATH_MAX];
  const std::string copy(path);
  return realpath(copy.c_str(), resolved) ? std::string(resolved) : copy;
}

std::string ImageHostPath(HMODULE module) {
  if (module == ExecutableModule()) {
    return ExecutableHostPath();
  }
  Dl_info info;
  if (!IsLoadedImage(module) || dladdr(module, &info) == 0 || !info.dli_fname ||
      !*info.dli_fname) {
    return {};
  }
  return AbsoluteHostPath(info.dli_fname);
}

namespace {

void EnsureHostLink(const std::string& link) {
  struct stat st;
  if (lstat(link.c_str(), &st) == 0) {
    char target[PATH_MAX];
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length != 1 || target[0] != '/') {
      debug::WriteDebugChannel("modules: " + link + " is not a link to /; paths under \\Host will not reach the host's files\n");
    }
    return;
  }
  if (symlink("/", link.c_str()) != 0 && errno != EEXIST) {
    debug::WriteDebugChannel("modules: cannot create " + link + ": " + std::strerror(errno) + "\n");
  }
}

}  // namespace

std::u16string TerminalPathOfHostFile(const std::string& hostPath) {
  if (hostPath.empty()) {
    return {};
  }
  std::u16string terminal = TerminalPathFromHost(hostPath);
  if (!terminal.empty()) {
    return terminal;
  }
  std::string root = TerminalRoot();
  if (root.size() > 1 && root.back() == '/') {
    root.pop_back();
  }
  EnsureHostLink(root == "/" ? "/Host" : root + "/Host");
  terminal = u"\\Host" + Utf8ToUtf16(hostPath);
  for (char16_t& c : terminal) {
    if (c == u'/') {
      c = u'\\';
    }
  }
  return terminal;
}

}  // namespace vela::modules

namespace vela {

void SetExecutablePathForTests(std::u16string terminalPath) {
  std::lock_guard lock(modules::g_overrideMutex);
  if (terminalPath.empty()) {
    modules::g_executablePath.reset();
  } else {
    modules::g_executablePath = std::move(terminalPath);
  }
}

void ResetExecutablePathForTests() {
  std::lock_guard lock(modules::g_overrideMutex);
  modules::g_executablePath.reset();
}

}  // namespace vela
