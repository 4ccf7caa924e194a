#include "SourceReader.h"

#include "nls/Cp932Codec.h"

namespace vela::rc {
namespace {

// Strict UTF-8: a script in code page 932 without its pragma is caught, not garbled.
bool DecodeUtf8(std::string_view bytes, std::u16string* out) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    uint32_t cp;
    size_t extra;
    if (b < 0x80) {
      cp = b;
      extra = 0;
    } else if (b >= 0xC2 && b <= 0xDF) {
      cp = b & 0x1F;
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      cp = b & 0x0F;
      extra = 2;
    } else if (b >= 0xF0 && b <= 0xF4) {
      cp = b & 0x07;
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) {
      return false;
    }
    for (size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) {
        return false;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return false;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *out += static_cast<char16_t>(0xD800 + (cp >> 10));
      *out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      *out += static_cast<char16_t>(cp);
    }
    i += extra + 1;
  }
  return true;
}

std::u16string DecodeCp932(std::string_view bytes) {
  std::u16string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (cp932::IsLeadByte(b) && i + 1 < bytes.size() &&
        cp932::IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      bool defined = true;
      out += cp932::DecodeDouble(b, static_cast<unsigned char>(bytes[i + 1]), &defined);
      ++i;
    } else if (cp932::IsLeadByte(b)) {
      out += cp932::kDefaultUnicodeChar;
    } else {
      out += cp932::DecodeSingle(b);
    }
  }
  return out;
}

}  // namespace

SourceReader::SourceReader(std::string path, std::string bytes)
    : path_(std::make_shared<const std::string>(std::move(path))), bytes_(std::move(bytes)) {
  if (bytes_.size() >= 2 && static_cast<unsigned char>(bytes_[0]) == 0xFF &&
      static_cast<unsigned char>(bytes_[1]) == 0xFE) {
    isWide_ = true;
    for (size_t i = 2; i + 1 < bytes_.size(); i += 2) {
      wide_ += static_cast<char16_t>(static_cast<unsigned char>(bytes_[i]) |
                                     (static_cast<unsigned char>(bytes_[i + 1]) << 8));
    }
  } else if (bytes_.size() >= 3 && bytes_.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    pos_ = 3;
  }
}

bool SourceReader::NextLine(std::u16string* line, SourceLocation* where) {
  where->file = path_;
  if (isWide_) {
    if (pos_ >= wide_.size()) {
      return false;
    }
    size_t end = wide_.find(u'\n', pos_);
    if (end == std::u16string::npos) {
      end = wide_.size();
    }
    *line = wide_.substr(pos_, end - pos_);
    pos_ = end + 1;
    where->line = ++line_;
  } else {
    if (pos_ >= bytes_.size()) {
      return false;
    }
    // 0x0A never occurs inside a two-byte character of code page 932.
    size_t end = bytes_.find('\n', pos_);
    if (end == std::string::npos) {
      end = bytes_.size();
    }
    where->line = ++line_;
    *line = Decode(std::string_view(bytes_).substr(pos_, end - pos_), *where);
    pos_ = end + 1;
  }
  if (!line->empty() && line->back() == u'\r') {
    line->pop_back();
  }
  return true;
}

std::u16string SourceReader::Decode(std::string_view bytes, const SourceLocation& where) const {
  if (codePage_ == CodePage::Cp932) {
    return DecodeCp932(bytes);
  }
  std::u16string out;
  if (!DecodeUtf8(bytes, &out)) {
    throw RcError(where, "the line is not valid UTF-8; a script in code page 932 needs #pragma code_page(932) before its first non-ASCII line");
  }
  return out;
}

}  // namespace vela::rc
