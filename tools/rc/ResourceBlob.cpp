#include "ResourceBlob.h"

#include <algorithm>
#include <stdexcept>

#include "resources/ResourceFormat.h"

namespace vela::rc {
namespace {

void Put16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32At(std::vector<uint8_t>* out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    (*out)[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  }
}

void PadTo(std::vector<uint8_t>* out, size_t alignment) {
  while (out->size() % alignment != 0) {
    out->push_back(0);
  }
}

uint32_t Checked(size_t value) {
  if (value > 0x7FFFFFFF) {
    throw std::length_error("compiled resources larger than 2 GB");
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

std::vector<uint8_t> WriteResourceBlob(std::vector<Resource> resources) {
  std::sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
  });
  std::vector<uint8_t> out(rsrc::kHeaderSize + resources.size() * rsrc::kEntrySize, 0);
  std::copy(rsrc::kMagic, rsrc::kMagic + 4, out.begin());
  Put32At(&out, 4, rsrc::kFormatVersion);
  Put32At(&out, 12, Checked(resources.size()));

  auto nameField = [&out](const ResourceName& name) -> uint32_t {
    if (name.isNumber) {
      return name.number;
    }
    PadTo(&out, 2);
    const uint32_t offset = Checked(out.size());
    Put16(&out, static_cast<uint16_t>(name.name.size()));
    for (char16_t c : name.name) {
      Put16(&out, c);
    }
    return rsrc::kNameFlag | offset;
  };
  for (size_t i = 0; i < resources.size(); ++i) {
    const size_t record = rsrc::kHeaderSize + i * rsrc::kEntrySize;
    Put32At(&out, record, nameField(resources[i].type));
    Put32At(&out, record + 4, nameField(resources[i].name));
    out[record + 8] = static_cast<uint8_t>(resources[i].language);
    out[record + 9] = static_cast<uint8_t>(resources[i].language >> 8);
  }
  for (size_t i = 0; i < resources.size(); ++i) {
    PadTo(&out, rsrc::kDataAlignment);
    const size_t record = rsrc::kHeaderSize + i * rsrc::kEntrySize;
    Put32At(&out, record + 12, Checked(out.size()));
    Put32At(&out, record + 16, Checked(resources[i].data.size()));
    out.insert(out.end(), resources[i].data.begin(), resources[i].data.end());
  }
  PadTo(&out, rsrc::kAlignment);
  Put32At(&out, 8, Checked(out.size()));
  return out;
}

}  // namespace vela::rc
