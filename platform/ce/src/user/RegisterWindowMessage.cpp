// Registered window messages. Equal names (without regard to case) give equal numbers in every
// module of the process and in every process on the same terminal root: the numbers live in a
// small file under the root, appended to under an exclusive lock.
#include <windows.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>

#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

namespace {

constexpr UINT kFirst = 0xC000;
constexpr UINT kLast = 0xFFFF;

struct CaseBlindLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};

struct Atoms {
  std::mutex mutex;
  std::string path;  // the file the cache was read from (the root may change between tests)
  std::map<std::u16string, UINT, CaseBlindLess> cache;
};

Atoms& TheAtoms() {
  static auto* atoms = new Atoms;
  return *atoms;
}

// Lines "C0A1 name" (hex number, one space, the name in UTF-8).
void ReadAll(int fd, std::map<std::u16string, UINT, CaseBlindLess>& into, UINT& highest) {
  std::string content;
  char buffer[4096];
  lseek(fd, 0, SEEK_SET);
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
    content.append(buffer, static_cast<std::size_t>(n));
  }
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) {
      break;  // a line cut short by a crash is ignored
    }
    const std::string line = content.substr(start, end - start);
    start = end + 1;
    const std::size_t space = line.find(' ');
    if (space == std::string::npos || space == 0) {
      continue;
    }
    const unsigned long value = std::strtoul(line.substr(0, space).c_str(), nullptr, 16);
    if (value < kFirst || value > kLast) {
      continue;
    }
    into.emplace(vela::Utf8ToUtf16(line.substr(space + 1)), static_cast<UINT>(value));
    highest = std::max(highest, static_cast<UINT>(value));
  }
}

}  // namespace

UINT RegisterWindowMessageW(LPCWSTR lpString) {
  if (lpString == nullptr || lpString[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string name(lpString);
  if (name.find(u'\n') != std::u16string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);  // one name per line in the file
    return 0;
  }
  Atoms& atoms = TheAtoms();
  std::lock_guard lock(atoms.mutex);
  const std::string path = vela::TerminalRoot() + "/Windows/WindowMessages.dat";
  if (path != atoms.path) {
    atoms.cache.clear();
    atoms.path = path;
  }
  if (auto it = atoms.cache.find(name); it != atoms.cache.end()) {
    return it->second;
  }
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  flock(fd, LOCK_EX);
  UINT highest = kFirst - 1;
  ReadAll(fd, atoms.cache, highest);
  UINT result = 0;
  if (auto it = atoms.cache.find(name); it != atoms.cache.end()) {
    result = it->second;
  } else if (highest >= kLast) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  } else {
    result = highest + 1;
    char number[16];
    std::snprintf(number, sizeof number, "%04X ", result);
    const std::string line = number + vela::Utf16ToUtf8(name) + "\n";
    const off_t end = lseek(fd, 0, SEEK_END);
    if (write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size())) {
      atoms.cache.emplace(name, result);
    } else {
      // A line cut short is cut off again, so the next name never continues it.
      if (ftruncate(fd, end) != 0) {
        // nothing more to do: readers skip a line without its end
      }
      SetLastError(ERROR_WRITE_FAULT);
      result = 0;
    }
  }
  flock(fd, LOCK_UN);
  close(fd);
  return result;
}
