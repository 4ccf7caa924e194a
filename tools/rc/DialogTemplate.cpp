#include "DialogTemplate.h"

#include "LittleEndian.h"

namespace vela::rc {
namespace {

void AppendText(std::vector<uint8_t>* out, const std::u16string& text) {
  for (char16_t c : text) {
    Append16(out, c);
  }
  Append16(out, 0);
}

void AppendField(std::vector<uint8_t>* out, const NameOrOrdinal& field) {
  switch (field.kind) {
    case NameOrOrdinal::Kind::None:
      Append16(out, 0);
      break;
    case NameOrOrdinal::Kind::Ordinal:
      Append16(out, 0xFFFF);
      Append16(out, field.ordinal);
      break;
    case NameOrOrdinal::Kind::Text:
      AppendText(out, field.text);
      break;
  }
}

void AppendRectangle(std::vector<uint8_t>* out, int16_t x, int16_t y, int16_t cx, int16_t cy) {
  for (int16_t v : {x, y, cx, cy}) {
    Append16(out, static_cast<uint16_t>(v));
  }
}

}  // namespace

std::vector<uint8_t> WriteDialogTemplate(const DialogTemplate& dialog) {
  std::vector<uint8_t> out;
  const uint32_t count = static_cast<uint32_t>(dialog.controls.size());
  if (dialog.extended) {
    Append16(&out, 1);       // dlgVer
    Append16(&out, 0xFFFF);  // signature
    Append32(&out, dialog.helpId);
    Append32(&out, dialog.exStyle);
    Append32(&out, dialog.style);
  } else {
    Append32(&out, dialog.style);
    Append32(&out, dialog.exStyle);
  }
  Append16(&out, count);
  AppendRectangle(&out, dialog.x, dialog.y, dialog.cx, dialog.cy);
  AppendField(&out, dialog.menu);
  AppendField(&out, dialog.windowClass);
  AppendText(&out, dialog.caption);
  if (dialog.style & kDsSetFont) {
    Append16(&out, dialog.font.pointSize);
    if (dialog.extended) {
      Append16(&out, dialog.font.weight);
      out.push_back(dialog.font.italic);
      out.push_back(dialog.font.charset);
    }
    AppendText(&out, dialog.font.face);
  }
  for (const DialogControl& control : dialog.controls) {
    // Every item starts on a DWORD boundary of the template.
    while (out.size() % 4 != 0) {
      out.push_back(0);
    }
    if (dialog.extended) {
      Append32(&out, control.helpId);
      Append32(&out, control.exStyle);
      Append32(&out, control.style);
      AppendRectangle(&out, control.x, control.y, control.cx, control.cy);
      Append32(&out, control.id);
    } else {
      Append32(&out, control.style);
      Append32(&out, control.exStyle);
      AppendRectangle(&out, control.x, control.y, control.cx, control.cy);
      Append16(&out, control.id);
    }
    AppendField(&out, control.windowClass);
    AppendField(&out, control.text);
    Append16(&out, 0);  // no creation data
  }
  return out;
}

}  // namespace vela::rc
