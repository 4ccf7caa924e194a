// FindFirstFileW, FindNextFileW and FindClose. A search takes the folder's matching entries
// when it starts and hands them out one by one, as search handles of the handle table.
#include <fileapi.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "fileio/HostErrors.h"
#include "fileio/WildcardMatch.h"
#include "kernel/HandleTable.h"

namespace {

class SearchObject : public vela::kernel::KernelObject {
 public:
  static constexpr vela::kernel::ObjectKind kKind = vela::kernel::ObjectKind::Search;
  vela::kernel::ObjectKind Kind() const override { return kKind; }

  std::vector<WIN32_FIND_DATAW> entries;
  size_t next = 0;
  std::mutex mutex;
};

FILETIME FileTimeOf(const timespec& t) {
  constexpr uint64_t kUnixEpochTicks = 116444736000000000ull;
  const uint64_t ticks = kUnixEpochTicks + uint64_t(t.tv_sec) * 10000000 + uint64_t(t.tv_nsec) / 100;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

bool Describe(const std::string& folder, const std::u16string& name, WIN32_FIND_DATAW& out) {
  struct stat st;
  if (name.size() >= MAX_PATH || stat((folder + '/' + vela::Utf16ToUtf8(name)).c_str(), &st) != 0) {
    return false;
  }
  out = WIN32_FIND_DATAW{};
  out.dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    out.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
  }
  out.ftCreationTime = FileTimeOf(st.st_ctim);
  out.ftLastAccessTime = FileTimeOf(st.st_atim);
  out.ftLastWriteTime = FileTimeOf(st.st_mtim);
  if (!S_ISDIR(st.st_mode)) {
    out.nFileSizeHigh = static_cast<DWORD>(uint64_t(st.st_size) >> 32);
    out.nFileSizeLow = static_cast<DWORD>(st.st_size);
  }
  std::copy(name.begin(), name.end(), out.cFileName);
  return true;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  if (!lpFileName || !*lpFileName || !lpFindFileData) {
    SetLastError(lpFindFileData ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::u16string_view path(lpFileName);
  const size_t slash = path.find_last_of(u"\\/");
  const std::u16string_view pattern = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const std::u16string_view folderPath =
      slash == std::u16string_view::npos ? std::u16string_view(u"\\") : path.substr(0, slash + 1);
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::string folder = vela::HostPathFromTerminal(folderPath);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                     : vela::fileio::ErrorFromErrno(errno, folder));
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<SearchObject>();
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view hostName(entry->d_name);
    if (hostName == "." || hostName == "..") {
      continue;  // the terminal's folders have no such entries
    }
    const std::u16string name = vela::Utf8ToUtf16(hostName);
    WIN32_FIND_DATAW data;
    if (vela::fileio::MatchesWildcard(pattern, name) && Describe(folder, name, data)) {
      search->entries.push_back(data);
    }
  }
  if (search->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *lpFindFileData = search->entries[0];
  search->next = 1;
  HANDLE handle = vela::kernel::InsertHandle(std::move(search));
  if (!handle) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
  std::shared_ptr<SearchObject> search = vela::kernel::LookupHandleAs<SearchObject>(hFindFile);
  if (!search) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(search->mutex);
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *lpFindFileData = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
  if (!vela::kernel::LookupHandleAs<SearchObject>(hFindFile) || !vela::kernel::RemoveHandle(hFindFile)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
