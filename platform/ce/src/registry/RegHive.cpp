#include "registry/RegHive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <vela/RegFile.h>
#include <vela/Utf.h>

#include <algorithm>
#include <cerrno>

#include "debug/DebugChannel.h"
#include "files/HostPath.h"
#include "registry/RegKeyPath.h"

namespace vela::registry {
namespace {

void Report(const std::string& text) { debug::WriteDebugChannel("registry: " + text + "\n"); }

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool ReadAll(int fd, std::string* out) {
  out->clear();
  char buffer[65536];
  while (true) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out->append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

// Every key of the tree as one section, parents first, so that empty keys persist too.
void AppendSections(const RegKey& key, const std::u16string& path, bool isRoot,
                    std::vector<regfile::Section>* sections) {
  if (!isRoot || !key.Values().empty()) {
    regfile::Section section;
    section.path = path;
    for (const RegValue& value : key.Values()) {
      section.values.push_back({value.name, value.type, value.data, false});
    }
    sections->push_back(std::move(section));
  }
  for (const auto& subkey : key.Subkeys()) {
    AppendSections(*subkey, path + u"\\" + subkey->Name(), false, sections);
  }
}

// Holds the hive's lock file locked for the life of the object.
class FileLock {
 public:
  explicit FileLock(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) close(fd_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace

RegHive::RegHive(std::string path, std::u16string rootName)
    : path_(std::move(path)), rootName_(std::move(rootName)), root_(std::make_unique<RegKey>(rootName_)) {}

RegHive::~RegHive() {
  if (fd_ >= 0) close(fd_);
}

void RegHive::InvalidateLocked() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  loaded_ = false;
}

LONG RegHive::RefreshLocked() {
  const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT && errno != ENOTDIR) {
      Report("cannot read " + path_);
      InvalidateLocked();
      return ERROR_CANTREAD;
    }
    // No file yet (or it was removed): an empty hive.
    if (!loaded_ || fd_ >= 0) {
      InvalidateLocked();
      root_ = std::make_unique<RegKey>(rootName_);
      damaged_ = false;
      damagedBytes_.clear();
      loaded_ = true;
    }
    return ERROR_SUCCESS;
  }
  struct stat st {};
  std::string bytes;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return ERROR_CANTREAD;
  }
  if (loaded_ && fd_ >= 0 && SameFile(st, identity_)) {
    close(fd);
    return ERROR_SUCCESS;
  }
  if (!ReadAll(fd, &bytes)) {
    close(fd);
    Report("cannot read " + path_);
    InvalidateLocked();
    return ERROR_CANTREAD;
  }
  InvalidateLocked();
  fd_ = fd;
  identity_ = st;
  Load(bytes);
  loaded_ = true;
  return ERROR_SUCCESS;
}

void RegHive::Load(const std::string& bytes) {
  regfile::Document doc = regfile::Parse(bytes);
  root_ = std::make_unique<RegKey>(rootName_);
  if (!doc.header && bytes.find_first_not_of(" \t\r\n") != std::string::npos) {
    doc.damage.insert(doc.damage.begin(), {1, "no Registry Editor header", ""});
  }
  for (const regfile::Section& section : doc.sections) {
    std::vector<std::u16string> names;
    const std::optional<HKEY> root =
        SplitKeyPath(section.path, &names) && !names.empty() ? regfile::RootKeyFromName(names[0]) : std::nullopt;
    if (!root || regfile::RootKeyName(*root) != rootName_) {
      doc.damage.push_back({section.line, "key path not of this hive or not valid, ignored", Utf16ToUtf8(section.path)});
      continue;
    }
    names.erase(names.begin());
    if (section.remove) {
      if (names.empty()) continue;
      const std::u16string last = names.back();
      names.pop_back();
      if (RegKey* parent = root_->Find(names)) parent->RemoveSubkey(last);
      continue;
    }
    RegKey* key = root_.get();
    for (const std::u16string& name : names) {
      bool created = false;
      key = &key->AddSubkey(name, &created);
    }
    for (const regfile::Value& value : section.values) {
      if (value.remove) {
        key->RemoveValue(value.name);
      } else {
        key->SetValue(value.name, value.type, value.data);
      }
    }
  }
  if (doc.cutShort) {
    doc.damage.push_back({static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1,
                          "no line end; the file may be cut short", ""});
  }
  damaged_ = !doc.damage.empty();
  damagedBytes_.clear();
  if (damaged_) {
    for (const regfile::Damage& damage : doc.damage) {
      Report(path_ + " line " + std::to_string(damage.line) + ": " + damage.reason +
             (damage.text.empty() ? "" : ": " + damage.text));
    }
    Report(path_ + " is damaged; what could be read is in use, and the file is kept aside before the next change");
    damagedBytes_ = bytes;
  }
}

bool RegHive::SetDamagedFileAside() {
  for (int n = 1; n < 10000; ++n) {
    const std::string aside = path_ + ".damaged-" + std::to_string(n);
    const int fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      break;
    }
    const bool written = WriteAll(fd, damagedBytes_) && fsync(fd) == 0;
    close(fd);
    if (!written) {
      unlink(aside.c_str());
      break;
    }
    Report("kept the damaged " + path_ + " as " + aside);
    return true;
  }
  Report("cannot keep the damaged " + path_ + " aside; it is left unchanged");
  return false;
}

LONG RegHive::PersistLocked() {
  if (damaged_) {
    if (!SetDamagedFileAside()) return ERROR_CANTWRITE;
    damaged_ = false;
    damagedBytes_.clear();
  }
  std::vector<regfile::Section> sections;
  AppendSections(*root_, rootName_, true, &sections);
  const std::string text = regfile::Format(sections);

  const std::string temp = path_ + ".new";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    Report("cannot write " + temp);
    return ERROR_CANTWRITE;
  }
  struct stat st {};
  if (!WriteAll(fd, text) || fsync(fd) != 0 || fstat(fd, &st) != 0 ||
      rename(temp.c_str(), path_.c_str()) != 0) {
    Report("cannot write " + path_);
    close(fd);
    unlink(temp.c_str());
    return ERROR_CANTWRITE;
  }
  SyncFolder(FolderOf(path_));
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
  identity_ = st;
  return ERROR_SUCCESS;
}

LONG RegHive::Read(const std::function<LONG(const RegKey& root)>& read) {
  std::lock_guard lock(mutex_);
  if (const LONG status = RefreshLocked(); status != ERROR_SUCCESS) return status;
  return read(*root_);
}

LONG RegHive::Modify(const std::function<LONG(RegKey& root, bool* changed)>& change) {
  std::lock_guard lock(mutex_);
  if (!files::MakeHostFolders(FolderOf(path_))) {
    Report("cannot create the folder of " + path_);
    return ERROR_CANTWRITE;
  }
  FileLock fileLock(path_ + ".lock");
  if (!fileLock.Held()) {
    Report("cannot lock " + path_ + ".lock");
    return ERROR_CANTWRITE;
  }
  if (const LONG status = RefreshLocked(); status != ERROR_SUCCESS) return status;
  bool changed = false;
  LONG status = change(*root_, &changed);
  if (status == ERROR_SUCCESS && changed) {
    status = PersistLocked();
    // The tree no longer matches the file; the next access reads the file again.
    if (status != ERROR_SUCCESS) InvalidateLocked();
  }
  return status;
}

}  // namespace vela::registry
