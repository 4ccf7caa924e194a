#include "ExternalFiles.h"

#include <fstream>
#include <iterator>

namespace vela::rc {
namespace {

std::string Utf8Name(const std::u16string& name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    uint32_t c = name[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
    }
    if (c < 0x80) {
      // Scripts of the platform write folders with backslashes.
      out += c == u'\\' ? '/' : static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string ExternalFiles::Read(const std::u16string& name, const SourceLocation& where, std::string* path) {
  const std::string relative = Utf8Name(name);
  if (relative.empty()) {
    throw RcError(where, "an empty file name");
  }
  std::vector<std::string> candidates;
  if (relative.front() == '/') {
    candidates.push_back(relative);
  } else {
    const std::string script = where.file ? *where.file : std::string();
    const size_t slash = script.find_last_of('/');
    candidates.push_back((slash == std::string::npos ? std::string(".") : script.substr(0, slash)) + "/" + relative);
    for (const std::string& folder : includeFolders_) {
      candidates.push_back(folder + "/" + relative);
    }
  }
  for (const std::string& candidate : candidates) {
    std::ifstream in(candidate, std::ios::binary);
    if (in) {
      std::string bytes((std::istreambuf_iterator<char>(in)), {});
      if (in.bad()) {
        throw RcError(where, "cannot read '" + candidate + "'");
      }
      filesRead_.push_back(candidate);
      *path = candidate;
      return bytes;
    }
  }
  throw RcError(where, "cannot open file '" + relative + "'");
}

}  // namespace vela::rc
