#include "resources/ElfSection.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "winerror.h"

namespace vela::resources {
namespace {

class File {
 public:
  explicit File(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~File() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  int fd() const { return fd_; }
  bool Read(uint64_t offset, void* out, size_t size) const {
    size_t done = 0;
    while (done < size) {
      const ssize_t n = pread(fd_, static_cast<char*>(out) + done, size - done,
                              static_cast<off_t>(offset + done));
      if (n <= 0) {
        if (n < 0 && errno == EINTR) {
          continue;
        }
        return false;
      }
      done += static_cast<size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
};

// Section headers beyond this count or a section beyond this size mean a damaged file.
constexpr uint64_t kMaxSections = 65535;
constexpr uint64_t kMaxSectionSize = 64u << 20;

template <typename Ehdr, typename Shdr>
bool ReadSection(const File& file, uint64_t fileSize, const char* sectionName,
                 std::vector<uint8_t>* bytes, DWORD* error) {
  Ehdr header;
  *error = ERROR_BAD_FORMAT;
  if (!file.Read(0, &header, sizeof header) || header.e_shentsize != sizeof(Shdr) ||
      header.e_shnum == 0 || header.e_shnum > kMaxSections || header.e_shstrndx >= header.e_shnum ||
      header.e_shoff > fileSize || uint64_t{header.e_shnum} * sizeof(Shdr) > fileSize - header.e_shoff) {
    return false;
  }
  std::vector<Shdr> sections(header.e_shnum);
  if (!file.Read(header.e_shoff, sections.data(), sections.size() * sizeof(Shdr))) {
    return false;
  }
  const Shdr& names = sections[header.e_shstrndx];
  if (names.sh_offset > fileSize || names.sh_size > fileSize - names.sh_offset ||
      names.sh_size > kMaxSectionSize) {
    return false;
  }
  std::vector<char> nameTable(names.sh_size + 1, '\0');
  if (!file.Read(names.sh_offset, nameTable.data(), names.sh_size)) {
    return false;
  }
  for (const Shdr& section : sections) {
    if (section.sh_name >= names.sh_size ||
        std::strcmp(nameTable.data() + section.sh_name, sectionName) != 0) {
      continue;
    }
    if (section.sh_type == SHT_NOBITS || section.sh_offset > fileSize ||
        section.sh_size > fileSize - section.sh_offset || section.sh_size > kMaxSectionSize) {
      return false;
    }
    bytes->resize(section.sh_size);
    if (!file.Read(section.sh_offset, bytes->data(), bytes->size())) {
      return false;
    }
    *error = ERROR_SUCCESS;
    return true;
  }
  *error = ERROR_RESOURCE_DATA_NOT_FOUND;
  return false;
}

}  // namespace

bool ReadElfSection(const std::string& hostPath, const char* sectionName,
                    std::vector<uint8_t>* bytes, DWORD* error) {
  File file(hostPath);
  if (file.fd() < 0) {
    *error = errno == EACCES ? ERROR_ACCESS_DENIED
             : errno == ENOENT ? ERROR_FILE_NOT_FOUND
                               : ERROR_PATH_NOT_FOUND;
    return false;
  }
  struct stat st;
  unsigned char ident[EI_NIDENT];
  if (fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = ERROR_ACCESS_DENIED;
    return false;
  }
  if (!file.Read(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
      ident[EI_DATA] != ELFDATA2LSB) {
    *error = ERROR_BAD_FORMAT;
    return false;
  }
  const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
  if (ident[EI_CLASS] == ELFCLASS64) {
    return ReadSection<Elf64_Ehdr, Elf64_Shdr>(file, fileSize, sectionName, bytes, error);
  }
  if (ident[EI_CLASS] == ELFCLASS32) {
    return ReadSection<Elf32_Ehdr, Elf32_Shdr>(file, fileSize, sectionName, bytes, error);
  }
  *error = ERROR_BAD_FORMAT;
  return false;
}

}  // namespace vela::resources
