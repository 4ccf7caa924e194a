// Reads a script or header as lines of UTF-16 text. A UTF-16 file is known by its byte-order
// mark; otherwise bytes are UTF-8 until "#pragma code_page(932)" switches the rest of the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Diagnostic.h"

namespace vela::rc {

enum class CodePage { Utf8, Cp932 };

class SourceReader {
 public:
  SourceReader(std::string path, std::string bytes);

  const std::shared_ptr<const std::string>& path() const { return path_; }
  // The next physical line without its end; false at the end of the file.
  bool NextLine(std::u16string* line, SourceLocation* where);
  void SetCodePage(CodePage codePage) { codePage_ = codePage; }

 private:
  std::u16string Decode(std::string_view bytes, const SourceLocation& where) const;

  std::shared_ptr<const std::string> path_;
  std::string bytes_;
  std::u16string wide_;  // the whole file, when it is UTF-16
  bool isWide_ = false;
  size_t pos_ = 0;
  int line_ = 0;
  CodePage codePage_ = CodePage::Utf8;
};

}  // namespace vela::rc
