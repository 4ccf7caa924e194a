#include "VersionInfoWriter.h"

#include <stdexcept>

namespace vela::rc {
namespace {

void Put16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

void Align4(std::vector<uint8_t>* out) {
  while (out->size() % 4 != 0) {
    out->push_back(0);
  }
}

void Patch16(std::vector<uint8_t>* out, size_t at, size_t v) {
  if (v > 0xFFFF) {
    throw std::length_error("version information larger than 64 KB");
  }
  (*out)[at] = static_cast<uint8_t>(v);
  (*out)[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Writes one node; its length covers its children but not the padding after its last byte.
void WriteNode(std::vector<uint8_t>* out, const std::u16string& key, uint16_t type,
               const std::vector<uint8_t>& value, size_t valueLength,
               const std::vector<VersionNode>& children) {
  Align4(out);
  const size_t start = out->size();
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, type);
  for (char16_t c : key) {
    Put16(out, c);
  }
  Put16(out, 0);
  Align4(out);
  out->insert(out->end(), value.begin(), value.end());
  for (const VersionNode& child : children) {
    std::vector<uint8_t> childValue;
    size_t childLength = 0;
    if (child.isText) {
      for (char16_t c : child.text) {
        Put16(&childValue, c);
      }
      Put16(&childValue, 0);
      childLength = child.text.size() + 1;
    } else if (!child.isBlock) {
      childValue = child.binary;
      childLength = childValue.size();
    }
    WriteNode(out, child.key, child.isBlock || child.isText ? 1 : 0, childValue, childLength,
              child.children);
  }
  Patch16(out, start, out->size() - start);
  Patch16(out, start + 2, valueLength);
}

}  // namespace

std::vector<uint8_t> WriteVersionInfo(const FixedFileInfo& fixed, const std::vector<VersionNode>& blocks) {
  std::vector<uint8_t> value;
  Put32(&value, 0xFEEF04BD);
  Put32(&value, 0x00010000);
  Put32(&value, fixed.fileVersionMS);
  Put32(&value, fixed.fileVersionLS);
  Put32(&value, fixed.productVersionMS);
  Put32(&value, fixed.productVersionLS);
  Put32(&value, fixed.fileFlagsMask);
  Put32(&value, fixed.fileFlags);
  Put32(&value, fixed.fileOS);
  Put32(&value, fixed.fileType);
  Put32(&value, fixed.fileSubtype);
  Put32(&value, 0);  // file date, never set by scripts
  Put32(&value, 0);
  std::vector<uint8_t> out;
  WriteNode(&out, u"VS_VERSION_INFO", 0, value, value.size(), blocks);
  return out;
}

}  // namespace vela::rc
