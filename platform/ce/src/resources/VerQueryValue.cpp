// VerQueryValue over the platform's VS_VERSIONINFO layout: nodes of { WORD wLength;
// WORD wValueLength; WORD wType; WCHAR szKey[]; padding; value; padding; children }, each
// starting on a 32-bit boundary of the block. Every read stays inside the lengths the nodes
// give, clamped to their parent, so a damaged or truncated block cannot lead it astray.
#include <winver.h>

#include <cstring>
#include <optional>
#include <string_view>

#include "crt/CaseMap.h"

namespace {

constexpr size_t kNodeHeader = 6;

size_t Align4(size_t offset) { return (offset + 3) & ~size_t{3}; }

uint16_t Read16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

struct Node {
  size_t offset;  // within the block
  size_t length;
  uint16_t valueLength;  // characters for text, bytes otherwise
  size_t valueOffset;
  size_t childrenOffset;
};

// The node at offset, which must end by limit.
std::optional<Node> ReadNode(const uint8_t* block, size_t offset, size_t limit) {
  if (offset + kNodeHeader > limit) {
    return std::nullopt;
  }
  const uint8_t* p = block + offset;
  Node node{offset, Read16(p), Read16(p + 2), 0, 0};
  const uint16_t type = Read16(p + 4);
  if (node.length < kNodeHeader) {
    return std::nullopt;
  }
  if (node.length > limit - offset) {
    node.length = limit - offset;
  }
  size_t keyEnd = offset + kNodeHeader;
  while (true) {
    if (keyEnd + 2 > offset + node.length) {
      return std::nullopt;
    }
    if (Read16(block + keyEnd) == 0) {
      break;
    }
    keyEnd += 2;
  }
  node.valueOffset = Align4(keyEnd + 2);
  const size_t valueBytes = type == 1 ? size_t{node.valueLength} * 2 : node.valueLength;
  if (node.valueOffset + valueBytes > offset + node.length) {
    if (valueBytes != 0) {
      return std::nullopt;
    }
    node.valueOffset = offset + node.length;
  }
  node.childrenOffset = Align4(node.valueOffset + valueBytes);
  return node;
}

bool KeyEquals(const uint8_t* block, const Node& node, std::u16string_view wanted) {
  size_t at = node.offset + kNodeHeader;
  for (char16_t c : wanted) {
    const char16_t k = Read16(block + at);
    if (k == 0 || vela::casemap::Upper(k) != vela::casemap::Upper(c)) {
      return false;
    }
    at += 2;
  }
  return Read16(block + at) == 0;
}

std::optional<Node> FindChild(const uint8_t* block, const Node& parent, std::u16string_view key) {
  const size_t end = parent.offset + parent.length;
  size_t at = parent.childrenOffset;
  while (at < end) {
    std::optional<Node> child = ReadNode(block, at, end);
    if (!child) {
      return std::nullopt;
    }
    if (KeyEquals(block, *child, key)) {
      return child;
    }
    at = Align4(child->offset + child->length);
  }
  return std::nullopt;
}

}  // namespace

BOOL VerQueryValueW(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen) {
  if (!pBlock || !lplpBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto* block = static_cast<const uint8_t*>(pBlock);
  std::optional<Node> node = ReadNode(block, 0, Read16(block));
  std::u16string_view path = lpSubBlock ? std::u16string_view(lpSubBlock) : std::u16string_view();
  while (node && !path.empty()) {
    const size_t start = path.find_first_not_of(u'\\');
    if (start == std::u16string_view::npos) {
      break;
    }
    path.remove_prefix(start);
    const size_t end = path.find(u'\\');
    const std::u16string_view key = path.substr(0, end);
    path.remove_prefix(end == std::u16string_view::npos ? path.size() : end);
    node = FindChild(block, *node, key);
  }
  if (!node) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  *lplpBuffer = const_cast<uint8_t*>(block + node->valueOffset);
  if (puLen) {
    *puLen = node->valueLength;
  }
  return TRUE;
}
