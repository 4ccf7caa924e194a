// Reads DLGTEMPLATE and DLGTEMPLATEEX: fixed header, menu, class, title, optional font, then
// DWORD-aligned items. Every read is checked against the size, as templates may come from
// anywhere a caller points to.
#include "dialogs/DialogTemplate.h"

#include <cstring>

#include "windlg.h"

namespace vela::dialogs {
namespace {

class Reader {
 public:
  Reader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }

  template <typename T>
  T read() {
    T value{};
    if (!ok_ || size_ - pos_ < sizeof(T)) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, data_ + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }

  void alignDword() {
    std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
    // The last item may end without padding.
    pos_ = aligned <= size_ ? aligned : size_;
  }

  std::u16string readString() {
    std::u16string text;
    for (;;) {
      char16_t c = read<char16_t>();
      if (!ok_ || c == 0) break;
      text.push_back(c);
    }
    return text;
  }

  NameOrOrdinal readNameOrOrdinal() {
    NameOrOrdinal name;
    WORD first = read<WORD>();
    if (!ok_ || first == 0) return name;
    name.present = true;
    if (first == 0xFFFF) {
      name.ordinal = read<WORD>();
      return name;
    }
    name.text.push_back(static_cast<char16_t>(first));
    name.text += readString();
    return name;
  }

  void readBytes(std::vector<BYTE>& out, std::size_t count) {
    if (!ok_ || size_ - pos_ < count) {
      ok_ = false;
      return;
    }
    out.assign(data_ + pos_, data_ + pos_ + count);
    pos_ += count;
  }

 private:
  const BYTE* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

void readItem(Reader& r, bool extended, DialogItem& item) {
  if (extended) {
    item.helpId = r.read<DWORD>();
    item.exStyle = r.read<DWORD>();
    item.style = r.read<DWORD>();
  } else {
    item.style = r.read<DWORD>();
    item.exStyle = r.read<DWORD>();
  }
  item.x = r.read<short>();
  item.y = r.read<short>();
  item.cx = r.read<short>();
  item.cy = r.read<short>();
  item.id = extended ? r.read<DWORD>() : r.read<WORD>();
  item.windowClass = r.readNameOrOrdinal();
  item.title = r.readNameOrOrdinal();
  // The count word is followed by that many bytes of creation data for the control.
  WORD extra = r.read<WORD>();
  r.readBytes(item.creationData, extra);
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size) {
  if (data == nullptr) return std::nullopt;
  Reader r(static_cast<const BYTE*>(data), size);
  DialogTemplate t;
  // An extended template starts with version 1 and signature 0xFFFF where the classic one
  // has its style.
  DWORD first = r.read<DWORD>();
  t.extended = first == 0xFFFF0001u;
  if (t.extended) {
    t.helpId = r.read<DWORD>();
    t.exStyle = r.read<DWORD>();
    t.style = r.read<DWORD>();
  } else {
    t.style = first;
    t.exStyle = r.read<DWORD>();
  }
  WORD count = r.read<WORD>();
  t.x = r.read<short>();
  t.y = r.read<short>();
  t.cx = r.read<short>();
  t.cy = r.read<short>();
  t.menu = r.readNameOrOrdinal();
  t.windowClass = r.readNameOrOrdinal();
  t.title = r.readString();
  if (t.style & DS_SETFONT) {
    t.hasFont = true;
    t.pointSize = r.read<WORD>();
    if (t.extended) {
      t.weight = r.read<WORD>();
      t.italic = r.read<BYTE>();
      t.charset = r.read<BYTE>();
    }
    t.faceName = r.readString();
  }
  if (!r.ok()) return std::nullopt;
  t.items.resize(count);
  for (DialogItem& item : t.items) {
    r.alignDword();
    readItem(r, t.extended, item);
    if (!r.ok()) return std::nullopt;
  }
  return t;
}

const char16_t* PredefinedClassName(WORD ordinal) {
  switch (ordinal) {
    case 0x80: return u"BUTTON";
    case 0x81: return u"EDIT";
    case 0x82: return u"STATIC";
    case 0x83: return u"LISTBOX";
    case 0x84: return u"SCROLLBAR";
    case 0x85: return u"COMBOBOX";
    default: return nullptr;
  }
}

}  // namespace vela::dialogs
