#include "controls/EditBuffer.h"

#include <algorithm>

namespace vela::controls {

void EditBuffer::setText(std::u16string text) {
  text_ = std::move(text);
  anchor_ = caret_ = 0;
}

void EditBuffer::setSelection(long start, long end) {
  std::size_t length = text_.size();
  if (start < 0) {
    anchor_ = caret_;
    return;
  }
  std::size_t s = std::min(static_cast<std::size_t>(start), length);
  std::size_t e = end < 0 ? length : std::min(static_cast<std::size_t>(end), length);
  anchor_ = s;
  caret_ = e;
}

bool EditBuffer::replaceSelection(std::u16string_view insert) {
  std::size_t start = selectionStart();
  std::size_t end = selectionEnd();
  std::size_t remaining = text_.size() - (end - start);
  std::size_t room = limit_ > remaining ? limit_ - remaining : 0;
  std::size_t take = std::min(room, insert.size());
  // Never split a surrogate pair at the limit.
  if (take > 0 && take < insert.size() && insert[take - 1] >= 0xD800 && insert[take - 1] <= 0xDBFF) --take;
  text_.replace(start, end - start, insert.substr(0, take));
  anchor_ = caret_ = start + take;
  return take == insert.size();
}

bool EditBuffer::deleteBackward() {
  if (hasSelection()) return replaceSelection(u""), true;
  if (caret_ == 0) return false;
  std::size_t from = caret_ - 1;
  if (from > 0 && text_[from] >= 0xDC00 && text_[from] <= 0xDFFF && text_[from - 1] >= 0xD800 && text_[from - 1] <= 0xDBFF)
    --from;
  text_.erase(from, caret_ - from);
  anchor_ = caret_ = from;
  return true;
}

bool EditBuffer::deleteForward() {
  if (hasSelection()) return replaceSelection(u""), true;
  if (caret_ >= text_.size()) return false;
  std::size_t count = 1;
  if (text_[caret_] >= 0xD800 && text_[caret_] <= 0xDBFF && caret_ + 1 < text_.size()) count = 2;
  text_.erase(caret_, count);
  anchor_ = caret_;
  return true;
}

void EditBuffer::moveCaret(std::size_t position, bool extend) {
  caret_ = std::min(position, text_.size());
  if (!extend) anchor_ = caret_;
}

}  // namespace vela::controls
