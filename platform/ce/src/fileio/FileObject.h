// An open file: a host descriptor with the access the handle was opened for. The descriptor
// also carries the handle's share-mode locks, so they end when the last reference does.
#pragma once

#include <unistd.h>

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

 private:
  int fd_;
  bool canRead_;
  bool canWrite_;
};

}  // namespace vela::fileio
