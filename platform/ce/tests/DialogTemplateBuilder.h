// Writes dialog templates in memory in the classic (DLGTEMPLATE) or extended (DLGTEMPLATEEX)
// layout, as the resource compiler would, for tests that cannot use a compiled resource.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "windows.h"

namespace vela::test {

class DialogTemplateBuilder {
 public:
  struct Item {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    WORD classOrdinal;       // 0x80 button, 0x81 edit, 0x82 static; 0 = use className
    std::u16string className;
    std::u16string title;
  };

  DialogTemplateBuilder(DWORD style, short x, short y, short cx, short cy, std::u16string title = u"")
      : style_(style), x_(x), y_(y), cx_(cx), cy_(cy), title_(std::move(title)) {}

  DialogTemplateBuilder& font(WORD points, std::u16string face) {
    style_ |= DS_SETFONT;
    points_ = points;
    face_ = std::move(face);
    return *this;
  }
  DialogTemplateBuilder& extended(bool on = true) {
    extended_ = on;
    return *this;
  }
  DialogTemplateBuilder& add(Item item) {
    items_.push_back(std::move(item));
    return *this;
  }
  DialogTemplateBuilder& control(WORD classOrdinal, std::u16string title, WORD id, DWORD style, short x, short y, short cx,
                                 short cy) {
    return add(Item{static_cast<DWORD>(style | WS_CHILD | WS_VISIBLE), x, y, cx, cy, id, classOrdinal, u"", std::move(title)});
  }

  // The bytes, kept in DWORDs so the start is aligned as a resource would be.
  const DLGTEMPLATE* build() {
    bytes_.clear();
    if (extended_) {
      word(1);
      word(0xFFFF);
      dword(0);  // help id
      dword(0);  // extended style
      dword(style_);
    } else {
      dword(style_);
      dword(0);
    }
    word(static_cast<WORD>(items_.size()));
    word(static_cast<WORD>(x_));
    word(static_cast<WORD>(y_));
    word(static_cast<WORD>(cx_));
    word(static_cast<WORD>(cy_));
    word(0);  // no menu
    word(0);  // default class
    string(title_);
    if (style_ & DS_SETFONT) {
      word(points_);
      if (extended_) {
        word(FW_NORMAL_WEIGHT);
        bytes_.push_back(0);  // italic
        bytes_.push_back(1);  // default charset
      }
      string(face_);
    }
    for (const Item& item : items_) {
      while (bytes_.size() % 4) bytes_.push_back(0);
      if (extended_) {
        dword(0);
        dword(0);
        dword(item.style);
      } else {
        dword(item.style);
        dword(0);
      }
      word(static_cast<WORD>(item.x));
      word(static_cast<WORD>(item.y));
      word(static_cast<WORD>(item.cx));
      word(static_cast<WORD>(item.cy));
      if (extended_)
        dword(item.id);
      else
        word(item.id);
      if (item.classOrdinal) {
        word(0xFFFF);
        word(item.classOrdinal);
      } else {
        string(item.className);
      }
      string(item.title);
      word(0);  // no creation data
    }
    storage_.assign((bytes_.size() + 3) / 4, 0);
    std::memcpy(storage_.data(), bytes_.data(), bytes_.size());
    return reinterpret_cast<const DLGTEMPLATE*>(storage_.data());
  }
  std::size_t size() const { return bytes_.size(); }

 private:
  static constexpr WORD FW_NORMAL_WEIGHT = 400;

  void word(WORD w) {
    bytes_.push_back(static_cast<BYTE>(w & 0xFF));
    bytes_.push_back(static_cast<BYTE>(w >> 8));
  }
  void dword(DWORD d) {
    word(static_cast<WORD>(d & 0xFFFF));
    word(static_cast<WORD>(d >> 16));
  }
  void string(const std::u16string& s) {
    for (char16_t c : s) word(static_cast<WORD>(c));
    word(0);
  }

  DWORD style_;
  short x_, y_, cx_, cy_;
  std::u16string title_;
  WORD points_ = 0;
  std::u16string face_;
  bool extended_ = false;
  std::vector<Item> items_;
  std::vector<BYTE> bytes_;
  std::vector<DWORD> storage_;
};

}  // namespace vela::test
