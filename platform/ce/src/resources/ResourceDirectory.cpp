#include "resources/ResourceDirectory.h"

#include <winuser.h>

#include <cstring>

#include "crt/CaseMap.h"
#include "resources/ResourceFormat.h"

namespace vela::resources {
namespace {

uint32_t Read32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

uint16_t Read16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

std::u16string Upper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    c = casemap::Upper(c);
  }
  return out;
}

// A name stored in the blob; false when it would reach beyond it.
bool ReadName(const uint8_t* blob, size_t size, uint32_t field, std::u16string_view* name) {
  if (!(field & rsrc::kNameFlag)) {
    return field <= 0xFFFF;
  }
  const size_t offset = field & ~rsrc::kNameFlag;
  if (offset % 2 != 0 || offset + 2 > size) {
    return false;
  }
  const size_t length = Read16(blob + offset);
  if (length == 0 || length > (size - offset - 2) / 2) {
    return false;
  }
  // Offsets are even and the blob is aligned, so the units can be read in place.
  *name = std::u16string_view(reinterpret_cast<const char16_t*>(blob + offset + 2), length);
  return true;
}

bool EqualUpper(std::u16string_view stored, std::u16string_view wanted) {
  if (stored.size() != wanted.size()) {
    return false;
  }
  for (size_t i = 0; i < stored.size(); ++i) {
    if (casemap::Upper(stored[i]) != wanted[i]) {
      return false;
    }
  }
  return true;
}

bool Matches(uint32_t field, std::u16string_view stored, const ResourceId& id) {
  if (id.isNumber) {
    return !(field & rsrc::kNameFlag) && field == id.number;
  }
  return (field & rsrc::kNameFlag) && EqualUpper(stored, id.name);
}

}  // namespace

ResourceId NumberId(uint16_t number) { return ResourceId{true, number, {}}; }

ResourceId IdFromPointer(LPCWSTR id) {
  if (IS_INTRESOURCE(id)) {
    return NumberId(static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(id)));
  }
  std::u16string_view text(id);
  if (text.size() > 1 && text[0] == u'#') {
    uint32_t number = 0;
    bool digits = true;
    for (char16_t c : text.substr(1)) {
      if (c < u'0' || c > u'9' || number > 0xFFFF) {
        digits = false;
        break;
      }
      number = number * 10 + static_cast<uint32_t>(c - u'0');
    }
    if (digits && number <= 0xFFFF) {
      return NumberId(static_cast<uint16_t>(number));
    }
  }
  return ResourceId{false, 0, Upper(text)};
}

bool TypeMatches(const ResourceEntry& entry, const ResourceId& type) {
  return Matches(entry.type, entry.typeName, type);
}

bool NameMatches(const ResourceEntry& entry, const ResourceId& name) {
  return Matches(entry.name, entry.nameName, name);
}

std::optional<ResourceDirectory> ResourceDirectory::Parse(const uint8_t* blob, size_t size) {
  if (!blob || size < rsrc::kHeaderSize || reinterpret_cast<uintptr_t>(blob) % 2 != 0 ||
      std::memcmp(blob, rsrc::kMagic, 4) != 0 || Read32(blob + 4) != rsrc::kFormatVersion) {
    return std::nullopt;
  }
  const size_t total = Read32(blob + 8);
  const size_t count = Read32(blob + 12);
  if (total < rsrc::kHeaderSize || total > size ||
      count > (total - rsrc::kHeaderSize) / rsrc::kEntrySize) {
    return std::nullopt;
  }
  ResourceDirectory directory;
  directory.blob_ = blob;
  directory.size_ = total;
  directory.entries_.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* record = blob + rsrc::kHeaderSize + i * rsrc::kEntrySize;
    ResourceEntry entry{};
    entry.type = Read32(record);
    entry.name = Read32(record + 4);
    entry.language = Read16(record + 8);
    const size_t offset = Read32(record + 12);
    entry.size = Read32(record + 16);
    if (!ReadName(blob, total, entry.type, &entry.typeName) ||
        !ReadName(blob, total, entry.name, &entry.nameName) || offset > total ||
        entry.size > total - offset) {
      return std::nullopt;
    }
    entry.data = blob + offset;
    directory.entries_.push_back(entry);
  }
  return directory;
}

std::vector<ResourceDirectory> ParseSection(const uint8_t* section, size_t size) {
  std::vector<ResourceDirectory> out;
  size_t offset = 0;
  while (offset + rsrc::kHeaderSize <= size) {
    if (auto directory = ResourceDirectory::Parse(section + offset, size - offset)) {
      const size_t total = directory->size();
      out.push_back(std::move(*directory));
      offset += (total + rsrc::kAlignment - 1) / rsrc::kAlignment * rsrc::kAlignment;
    } else {
      // Padding the linker put between two blobs, or damage: try the next aligned place.
      offset += rsrc::kAlignment;
    }
  }
  return out;
}

int LanguagePreference(uint16_t language) {
  constexpr uint16_t kPrimaryMask = 0x3FF;
  if (language == kUiLanguage) {
    return 0;
  }
  if ((language & kPrimaryMask) == (kUiLanguage & kPrimaryMask)) {
    return 1;
  }
  if (language == 0) {
    return 2;
  }
  if ((language & kPrimaryMask) == 0) {
    return 3;  // neutral with a sublanguage: user or system default
  }
  if (language == 0x0409) {
    return 4;
  }
  return 5;
}

}  // namespace vela::resources
