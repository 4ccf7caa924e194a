// Files a script names for its resources (.ico, .bmp): found beside the script that names them,
// then in the include folders, and remembered for the build's dependency list.
#pragma once

#include <string>
#include <vector>

#include "Diagnostic.h"

namespace vela::rc {

class ExternalFiles {
 public:
  explicit ExternalFiles(std::vector<std::string> includeFolders)
      : includeFolders_(std::move(includeFolders)) {}

  // The file's bytes; *path receives where it was found. Throws RcError at where when no
  // candidate can be read.
  std::string Read(const std::u16string& name, const SourceLocation& where, std::string* path);
  const std::vector<std::string>& FilesRead() const { return filesRead_; }

 private:
  std::vector<std::string> includeFolders_;
  std::vector<std::string> filesRead_;
};

}  // namespace vela::rc
