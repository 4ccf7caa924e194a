// A dialog template (DLGTEMPLATE or DLGTEMPLATEEX layout) read into plain values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "windef.h"

namespace vela::dialogs {

// A name field of a template: absent, an ordinal (0xFFFF prefix) or a string.
struct NameOrOrdinal {
  bool present = false;
  WORD ordinal = 0;  // non-zero when the field was an ordinal
  std::u16string text;

  bool isOrdinal() const { return present && text.empty() && ordinal != 0; }
};

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal windowClass;  // ordinals 0x80..0x85 are the predefined classes
  NameOrOrdinal title;        // an ordinal title names an icon or bitmap resource
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string title;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::u16string faceName;
  std::vector<DialogItem> items;
};

// Reads a template of at most size bytes; nullopt when it is cut short or malformed. Offsets
// are DWORD-aligned relative to data, which must itself be DWORD-aligned as resources are.
std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size);

// The class name of a predefined control ordinal (0x80 "BUTTON" ...), or nullptr.
const char16_t* PredefinedClassName(WORD ordinal);

}  // namespace vela::dialogs
