#include "process/ProgramFile.h"

#include <wincrt.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "modules/ModuleSearch.h"

namespace vela::process {
namespace {

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return _wcsicmp(std::u16string(a).c_str(), std::u16string(b).c_str()) == 0;
}

std::u16string_view FileNamePart(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string_view FolderPart(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
}

bool Exists(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0;
}

bool IsFolder(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FindStandIn(std::u16string_view fileName) {
  const std::string folder = StandInProgramFolder();
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) {
    return {};
  }
  while (const dirent* entry = readdir(dir.get())) {
    if (EqualIgnoringCase(Utf8ToUtf16(entry->d_name), fileName)) {
      return folder + "/" + entry->d_name;
    }
  }
  return {};
}

// A host file the platform would run: an ELF image or a script with "#!".
DWORD CheckProgram(const std::string& host) {
  if (IsFolder(host)) {
    return ERROR_ACCESS_DENIED;
  }
  const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return ERROR_ACCESS_DENIED;
  }
  char head[4] = {};
  const ssize_t got = read(fd, head, sizeof head);
  close(fd);
  const bool elf = got == 4 && std::memcmp(head, "\x7f" "ELF", 4) == 0;
  const bool script = got >= 2 && head[0] == '#' && head[1] == '!';
  if (!elf && !script) {
    return ERROR_BAD_EXE_FORMAT;
  }
  if (access(host.c_str(), X_OK) != 0) {
    return ERROR_ACCESS_DENIED;
  }
  return ERROR_SUCCESS;
}

}  // namespace

std::string StandInProgramFolder() { return modules::KitLibraryFolder() + "/terminal-programs"; }

DWORD LocateProgram(std::u16string_view name, std::string& hostPath) {
  if (name.empty()) {
    return ERROR_FILE_NOT_FOUND;
  }
  std::u16string terminalPath(name);
  if (FolderPart(name).empty() && name.front() != u'\\' && name.front() != u'/') {
    terminalPath = u"\\Windows\\" + terminalPath;
  }
  if (FileNamePart(terminalPath).find(u'.') == std::u16string_view::npos) {
    terminalPath += u".exe";
  }
  std::string host = HostPathFromTerminal(terminalPath);
  if (!Exists(host)) {
    // The terminal's own programs live in \Windows; the simulator stands in for them.
    const std::u16string_view folder = FolderPart(terminalPath);
    std::u16string_view topFolder = folder;
    while (!topFolder.empty() && (topFolder.front() == u'\\' || topFolder.front() == u'/')) {
      topFolder.remove_prefix(1);
    }
    if (EqualIgnoringCase(topFolder, u"Windows")) {
      std::string standIn = FindStandIn(FileNamePart(terminalPath));
      if (!standIn.empty()) {
        hostPath = std::move(standIn);
        return CheckProgram(hostPath);
      }
    }
    const std::string hostFolder = HostPathFromTerminal(folder.empty() ? u"\\" : folder);
    return IsFolder(hostFolder) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  hostPath = std::move(host);
  return CheckProgram(hostPath);
}

}  // namespace vela::process
