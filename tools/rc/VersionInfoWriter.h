// The VERSIONINFO resource in the platform's VS_VERSIONINFO layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vela::rc {

struct FixedFileInfo {
  uint32_t fileVersionMS = 0, fileVersionLS = 0;
  uint32_t productVersionMS = 0, productVersionLS = 0;
  uint32_t fileFlagsMask = 0, fileFlags = 0, fileOS = 0, fileType = 0, fileSubtype = 0;
};

// A BLOCK (children only) or a VALUE: text (a string, stored with its terminator and counted
// in characters) or binary (words and double words, counted in bytes).
struct VersionNode {
  std::u16string key;
  bool isBlock = false;
  bool isText = false;
  std::u16string text;
  std::vector<uint8_t> binary;
  std::vector<VersionNode> children;
};

std::vector<uint8_t> WriteVersionInfo(const FixedFileInfo& fixed, const std::vector<VersionNode>& blocks);

}  // namespace vela::rc
