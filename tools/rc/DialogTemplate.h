// DIALOG and DIALOGEX resources in the platform's DLGTEMPLATE / DLGTEMPLATEEX layouts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vela::rc {

// A menu, class or title field: nothing, an ordinal (0xFFFF, n) or a string.
struct NameOrOrdinal {
  enum class Kind { None, Ordinal, Text } kind = Kind::None;
  uint16_t ordinal = 0;
  std::u16string text;

  static NameOrOrdinal Ordinal(uint16_t n) { return {Kind::Ordinal, n, {}}; }
  static NameOrOrdinal Text(std::u16string t) { return {Kind::Text, 0, std::move(t)}; }
};

struct DialogControl {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  uint32_t helpId = 0;  // DIALOGEX only
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint32_t id = 0;  // 16 bits in a DIALOG
  NameOrOrdinal windowClass;
  NameOrOrdinal text = NameOrOrdinal::Text(u"");
};

struct DialogFont {
  uint16_t pointSize = 0;
  uint16_t weight = 0;   // DIALOGEX only
  uint8_t italic = 0;    // DIALOGEX only
  uint8_t charset = 1;   // DIALOGEX only; DEFAULT_CHARSET unless given
  std::u16string face;
};

struct DialogTemplate {
  bool extended = false;
  uint32_t style = 0;  // the font is written when DS_SETFONT is in it
  uint32_t exStyle = 0;
  uint32_t helpId = 0;  // DIALOGEX only
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string caption;
  DialogFont font;
  std::vector<DialogControl> controls;
};

inline constexpr uint32_t kDsSetFont = 0x40;

std::vector<uint8_t> WriteDialogTemplate(const DialogTemplate& dialog);

}  // namespace vela::rc
