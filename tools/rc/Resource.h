// A compiled resource: its type, name and language, and its bytes in the platform's layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Diagnostic.h"

namespace vela::rc {

// A number, or a name kept in upper case (names are found without regard to case).
struct ResourceName {
  bool isNumber = true;
  uint16_t number = 0;
  std::u16string name;

  static ResourceName Number(uint16_t n) { return ResourceName{true, n, {}}; }
  bool operator==(const ResourceName&) const = default;
  bool operator<(const ResourceName& other) const {
    if (isNumber != other.isNumber) {
      return isNumber;  // numbers first
    }
    return isNumber ? number < other.number : name < other.name;
  }
  std::string Describe() const;
};

struct Resource {
  ResourceName type;
  ResourceName name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
  SourceLocation where;
};

}  // namespace vela::rc
