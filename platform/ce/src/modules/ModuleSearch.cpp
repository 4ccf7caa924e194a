#include "modules/ModuleSearch.h"

#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <memory>

#include "crt/CaseMap.h"
#include "modules/ModuleFiles.h"
#include "modules/ModuleName.h"

namespace vela::modules {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (casemap::Upper(a[i]) != casemap::Upper(b[i])) {
      return false;
    }
  }
  return true;
}

// The file of folder named fileName without regard to case; the exact spelling first.
std::optional<std::string> FindFile(const std::string& folder, std::u16string_view fileName) {
  if (folder.empty()) {
    return std::nullopt;
  }
  const std::string exact = folder + "/" + Utf16ToUtf8(fileName);
  if (IsRegularFile(exact)) {
    return exact;
  }
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) {
    return std::nullopt;
  }
  while (const dirent* entry = readdir(dir.get())) {
    if (EqualIgnoringCase(Utf8ToUtf16(entry->d_name), fileName)) {
      std::string path = folder + "/" + entry->d_name;
      if (IsRegularFile(path)) {
        return path;
      }
    }
  }
  return std::nullopt;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return {};
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string ExecutableFolder() {
  if (std::optional<std::u16string> path = ExecutablePathOverride()) {
    return FolderOf(HostPathFromTerminal(*path));
  }
  return FolderOf(ExecutableHostPath());
}

std::string KitLibraryFolder() {
  Dl_info info;
  if (dladdr(reinterpret_cast<const void*>(&KitLibraryFolder), &info) == 0 || !info.dli_fname) {
    return {};
  }
  return FolderOf(AbsoluteHostPath(info.dli_fname));
}

std::optional<std::string> LocateModuleFile(std::u16string_view name) {
  if (name.find_first_of(u"\\/") != std::u16string_view::npos) {
    std::string host = HostPathFromTerminal(name);
    if (IsRegularFile(host)) {
      return host;
    }
    const size_t slash = name.find_last_of(u"\\/");
    if (name.find(u'.', slash) == std::u16string_view::npos) {
      host = HostPathFromTerminal(std::u16string(name) + u".dll");
      if (IsRegularFile(host)) {
        return host;
      }
    }
    return std::nullopt;
  }
  const std::string folders[] = {ExecutableFolder(), HostPathFromTerminal(u"\\Windows"),
                                 KitLibraryFolder()};
  for (const std::string& folder : folders) {
    for (const std::u16string& fileName : {DllFileName(name), SharedObjectFileName(name)}) {
      if (auto found = FindFile(folder, fileName)) {
        return found;
      }
    }
  }
  return std::nullopt;
}

}  // namespace vela::modules
