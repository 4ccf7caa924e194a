// An open file: a host descriptor with the access the handle was opened for. The descriptor
// also carries the handle's share-mode locks, so they end when the last reference does.
// The file pointer is kept here rather than in the descriptor: it is the handle's, and while
// no other open may write, the file's size is known without asking the host each time.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <optional>

#include "kernel/KernelObject.h"

namespace vela::fileio {

class FileObject : public kernel::KernelObject {
 public:
  static constexpr kernel::ObjectKind kKind = kernel::ObjectKind::File;

  FileObject(int fd, bool canRead, bool canWrite) : fd_(fd), canRead_(canRead), canWrite_(canWrite) {}
  ~FileObject() override { close(fd_); }
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  kernel::ObjectKind Kind() const override { return kKind; }
  int fd() const { return fd_; }
  bool canRead() const { return canRead_; }
  bool canWrite() const { return canWrite_; }

  // Guards position and knownSize; held across a read or write so calls on one handle from
  // several threads each see and move the pointer whole.
  std::mutex mutex;
  int64_t position = 0;
  // Set while this handle denies write sharing: then only it changes the size.
  std::optional<int64_t> knownSize;

 private:
  int fd_;
  bool canRead_;
  bool canWrite_;
};

}  // namespace vela::fileio
