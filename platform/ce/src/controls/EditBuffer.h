// The text of an edit control with its selection and limit, without any drawing, so the
// editing rules are one small piece that tests can reach directly.
#pragma once

#include <cstddef>
#include <string>

namespace vela::controls {

class EditBuffer {
 public:
  static constexpr std::size_t kNoLimit = 0x7FFFFFFE;

  const std::u16string& text() const { return text_; }
  std::size_t anchor() const { return anchor_; }
  std::size_t caret() const { return caret_; }
  std::size_t selectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t selectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool hasSelection() const { return anchor_ != caret_; }
  std::size_t limit() const { return limit_; }

  // 0 lifts the limit. Text already longer is kept.
  void setLimit(std::size_t limit) { limit_ = limit == 0 ? kNoLimit : limit; }

  // Replaces everything and puts the caret at the start without a selection.
  void setText(std::u16string text);

  // EM_SETSEL rules: a negative start removes the selection (the caret stays), a negative end
  // means the end of the text; positions beyond the text are clamped. The caret goes to end.
  void setSelection(long start, long end);

  // Replaces the selection with as much of insert as the limit allows; false when something
  // was cut because of the limit.
  bool replaceSelection(std::u16string_view insert);

  // Backspace and Delete: remove the selection, or the character before / after the caret.
  // False when there was nothing to remove.
  bool deleteBackward();
  bool deleteForward();

  // Moves the caret; with extend the anchor stays and the selection grows or shrinks.
  void moveCaret(std::size_t position, bool extend);

 private:
  std::u16string text_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  std::size_t limit_ = kNoLimit;
};

}  // namespace vela::controls
