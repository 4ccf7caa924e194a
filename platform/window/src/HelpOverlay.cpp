#include "HelpOverlay.h"

#include <windows.h>
#include <vela/Utf.h>

#include <algorithm>
#include <cstring>

#include "Recorder.h"

namespace vela::window {

std::string DescribeCommand(const WindowCommand& command) {
  using Kind = WindowCommand::Kind;
  switch (command.kind) {
    case Kind::TerminalKey: return "terminal key " + ScriptKeyName(command.virtualKey);
    case Kind::Flip: return "flip key";
    case Kind::Help: return "this help";
    case Kind::Shot: return "screenshot (vela-shot-NNN.png)";
    case Kind::Record: return "start / stop recording";
    case Kind::Quit: return "quit";
    case Kind::Action: return command.words;
    case Kind::Unbound: return "nothing";
    case Kind::Switch: break;
  }
  switch (command.what) {
    case Switch::Power: return "external power on / off";
    case Switch::Network: return "network up / down";
    case Switch::Suspend: return "suspend / wake up";
    case Switch::Volume: return "Storage Card in / out";
    case Switch::Signal: return "signal strong / weak / none";
    case Switch::Ime: return "input method off/あ/ア/Ａ/ｱ";
    case Switch::KeyMode: return "key input mode";
    case Switch::LowerBattery: return "battery level down";
    case Switch::RaiseBattery: return "battery level up";
  }
  return {};
}

std::vector<std::string> HelpLines(const KeyBindings& bindings) {
  std::vector<std::string> lines = {"Keys (any key closes)", ""};
  auto listing = bindings.Listing();
  // Plain keys first, then those held with Ctrl or Shift.
  std::stable_partition(listing.begin(), listing.end(), [](const auto& entry) { return !entry.first.ctrl && !entry.first.shift; });
  for (const auto& [chord, command] : listing) {
    std::string key = DescribeKeyChord(chord);
    key.resize(std::max<size_t>(key.size(), 8), ' ');
    lines.push_back(key + " " + DescribeCommand(command));
  }
  lines.insert(lines.end(), {"", "Mouse: the stylus.", "Enter Esc Tab BackSpace Delete arrows",
                             "digits letters Space: terminal keys.", "",
                             "A recording replays exactly when it", "starts with the program:",
                             "VELA_RECORD=FILE VELA_RECORD_AT_START=1"});
  return lines;
}

vela::screen::Image RenderHelp(const std::vector<std::string>& lines, int width, int height, int zoom) {
  vela::screen::Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, rows as the image keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!bitmap || !bits) {
    if (dc) DeleteDC(dc);
    return image;  // no help text rather than no window
  }
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontW(zoom >= 2 ? 16 : 12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                           nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int lineHeight = std::max<int>(metrics.tmHeight, 1) + 2;
  const int margin = 4 * zoom;
  int x = margin, y = margin, columnWidth = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::u16string text = vela::Utf8ToUtf16(lines[i]);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (y + lineHeight > height - margin && y > margin) {
      x += columnWidth + 3 * margin;
      y = margin;
      columnWidth = 0;
    }
    SetTextColor(dc, i == 0 ? RGB(0xFF, 0xE0, 0x60) : RGB(0xF0, 0xF0, 0xF0));
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    columnWidth = std::max<int>(columnWidth, size.cx);
    y += lineHeight;
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  SelectObject(dc, oldBitmap);
  std::memcpy(image.pixels.data(), bits, image.pixels.size() * sizeof(std::uint32_t));
  DeleteObject(bitmap);
  DeleteDC(dc);
  for (std::uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFFu;
  return image;
}

void LayOver(const vela::screen::Image& help, std::uint32_t* picture, int stride) {
  for (int y = 0; y < help.height; ++y) {
    std::uint32_t* row = picture + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < help.width; ++x) {
      const std::uint32_t text = help.At(x, y);
      row[x] = text != 0 ? text : (row[x] >> 3) & 0x001F1F1Fu;
    }
  }
}

}  // namespace vela::window
