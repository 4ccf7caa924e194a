// One hive file and its tree in memory. Every change is made under an exclusive lock on a lock
// file beside the hive, on the tree as it is on disk at that moment, and written through at once
// (new file, fsync, rename), so that processes sharing the hive never lose each other's changes.
// Reads load the file again whenever it was replaced since it was last read.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "registry/RegKeyTree.h"

namespace vela::registry {

class RegHive {
 public:
  RegHive(std::string path, std::u16string rootName);
  ~RegHive();
  RegHive(const RegHive&) = delete;
  RegHive& operator=(const RegHive&) = delete;

  LONG Read(const std::function<LONG(const RegKey& root)>& read);
  // The tree is written through when change returns ERROR_SUCCESS with *changed set.
  LONG Modify(const std::function<LONG(RegKey& root, bool* changed)>& change);

 private:
  LONG RefreshLocked();
  void Load(const std::string& bytes);
  LONG PersistLocked();
  bool SetDamagedFileAside();
  void InvalidateLocked();

  std::mutex mutex_;
  const std::string path_;
  const std::u16string rootName_;
  std::unique_ptr<RegKey> root_;
  bool loaded_ = false;
  // The file the tree was read from (or written to), held open so that its inode cannot be
  // reused by another file while it is compared against.
  int fd_ = -1;
  struct stat identity_ {};
  // Set when the file as loaded had lines that could not be read; its bytes are kept aside
  // before the next write replaces it.
  bool damaged_ = false;
  std::string damagedBytes_;
};

}  // namespace vela::registry
