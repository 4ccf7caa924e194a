// One compiled resource blob (see ResourceFormat.h), checked once and then searched.
#pragma once

#include <wintypes.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::resources {

// A type or name as the caller gives it: a number (MAKEINTRESOURCE or "#123") or a name,
// compared without regard to case.
struct ResourceId {
  bool isNumber = true;
  uint16_t number = 0;
  std::u16string name;  // upper case
};
ResourceId IdFromPointer(LPCWSTR id);
ResourceId NumberId(uint16_t number);

struct ResourceEntry {
  uint32_t type;
  std::u16string_view typeName;  // when type carries the name flag
  uint32_t name;
  std::u16string_view nameName;
  uint16_t language;
  const uint8_t* data;
  uint32_t size;
};

class ResourceDirectory {
 public:
  // Nullopt when the blob is damaged in any way: nothing of it is then used.
  static std::optional<ResourceDirectory> Parse(const uint8_t* blob, size_t size);

  const uint8_t* blob() const { return blob_; }
  size_t size() const { return size_; }
  const std::vector<ResourceEntry>& entries() const { return entries_; }

 private:
  const uint8_t* blob_ = nullptr;
  size_t size_ = 0;
  std::vector<ResourceEntry> entries_;
};

bool TypeMatches(const ResourceEntry& entry, const ResourceId& type);
bool NameMatches(const ResourceEntry& entry, const ResourceId& name);

// The blobs laid end to end in a module's section; damaged ones are skipped.
std::vector<ResourceDirectory> ParseSection(const uint8_t* section, size_t size);

// The language the terminal's user interface speaks.
inline constexpr uint16_t kUiLanguage = 0x0411;

// Ranks a resource's language for a lookup without one: lower is better.
int LanguagePreference(uint16_t language);

}  // namespace vela::resources
