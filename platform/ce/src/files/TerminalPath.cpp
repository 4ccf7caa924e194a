// Terminal paths ("\Temp\a.log") to host paths under the root and back. The terminal's file
// system ignores case; the host's does not, so an existing component spelled in another case
// is looked up in its folder.
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "crt/CaseMap.h"
#include "files/HostPath.h"

namespace vela {
namespace {

bool Exists(const std::string& hostPath) {
  struct stat st;
  return lstat(hostPath.c_str(), &st) == 0;
}

// Components of a terminal path; "." and empty ones dropped, ".." stopping at the root.
std::vector<std::u16string_view> TerminalComponents(std::u16string_view path) {
  if (const size_t nul = path.find(u'\0'); nul != std::u16string_view::npos) {
    path = path.substr(0, nul);
  }
  std::vector<std::u16string_view> out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"\\/", start);
    if (end == std::u16string_view::npos) {
      end = path.size();
    }
    const std::u16string_view part = path.substr(start, end - start);
    if (part == u"..") {
      if (!out.empty()) {
        out.pop_back();
      }
    } else if (!part.empty() && part != u".") {
      out.push_back(part);
    }
    start = end + 1;
  }
  return out;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && casemap::Upper(a[i]) != casemap::Upper(b[i])) {
      return false;
    }
  }
  return true;
}

// The entry of folder whose name equals wanted without regard to case. The mapping keeps the
// UTF-8 length of every character, so only names of the same byte length are decoded. When
// several names differ only in case, the lowest in byte order wins, whatever readdir's order.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::u16string_view wanted,
                                            size_t wantedBytes) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) {
    return std::nullopt;
  }
  std::optional<std::string> best;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name(entry->d_name);
    if (name.size() != wantedBytes || name == "." || name == "..") {
      continue;
    }
    if (EqualIgnoringCase(Utf8ToUtf16(name), wanted) && (!best || name < *best)) {
      best = std::string(name);
    }
  }
  return best;
}

}  // namespace

std::string HostPathAsSpelled(std::u16string_view terminalPath) {
  const std::vector<std::u16string_view> parts = TerminalComponents(terminalPath);
  std::string exact = TerminalRoot();
  if (parts.empty()) {
    return exact;
  }
  // A root of "/" already ends in the separator.
  if (exact.back() == '/') {
    exact.pop_back();
  }
  for (std::u16string_view part : parts) {
    exact += '/';
    exact += Utf16ToUtf8(part);
  }
  return exact;
}

std::string HostPathFromTerminal(std::u16string_view terminalPath) {
  const std::vector<std::u16string_view> parts = TerminalComponents(terminalPath);
  const std::string root = TerminalRoot();
  std::vector<std::string> names;
  names.reserve(parts.size());
  // A root of "/" already ends in the separator.
  const std::string base = root.back() == '/' ? root.substr(0, root.size() - 1) : root;
  std::string exact = base;
  for (std::u16string_view part : parts) {
    names.push_back(Utf16ToUtf8(part));
    exact += '/';
    exact += names.back();
  }
  if (parts.empty()) {
    return root;
  }
  if (Exists(exact)) {
    return exact;
  }

  std::string host = base;
  bool folderExists = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (folderExists) {
      const std::string candidate = host + '/' + names[i];
      if (Exists(candidate)) {
        host = candidate;
        continue;
      }
      if (auto match = FindIgnoringCase(host.empty() ? "/" : host, parts[i], names[i].size())) {
        host += '/';
        host += *match;
        continue;
      }
      folderExists = false;
    }
    host += '/';
    host += names[i];
  }
  return host;
}

namespace {

// The components of a host path with symbolic links resolved as far as the path exists.
std::vector<std::string> ResolvedComponents(const std::vector<std::string>& components) {
  for (size_t keep = components.size() + 1; keep-- > 0;) {
    const std::vector<std::string> head(components.begin(), components.begin() + keep);
    char resolved[PATH_MAX];
    if (realpath(files::JoinHostComponents(head).c_str(), resolved)) {
      std::vector<std::string> out = files::NormalizedHostComponents(resolved);
      out.insert(out.end(), components.begin() + keep, components.end());
      return out;
    }
  }
  return components;
}

std::optional<std::u16string> RelativeToRoot(const std::vector<std::string>& path,
                                             const std::vector<std::string>& root) {
  if (path.size() < root.size() || !std::equal(root.begin(), root.end(), path.begin())) {
    return std::nullopt;
  }
  std::string rest;
  for (size_t i = root.size(); i < path.size(); ++i) {
    rest += '\\';
    rest += path[i];
  }
  return rest.empty() ? u"\\" : Utf8ToUtf16(rest);
}

}  // namespace

std::u16string TerminalPathFromHost(std::string_view hostPath) {
  if (hostPath.empty()) {
    return {};
  }
  const std::vector<std::string> path = files::NormalizedHostComponents(hostPath);
  const std::vector<std::string> root = files::NormalizedHostComponents(TerminalRoot());
  if (auto terminal = RelativeToRoot(path, root)) {
    return *terminal;
  }
  // The same folder reached through a symbolic link (/tmp as a link, say).
  if (auto terminal = RelativeToRoot(ResolvedComponents(path), ResolvedComponents(root))) {
    return *terminal;
  }
  return {};
}

}  // namespace vela
