#include "script/ControlFinder.h"

#include <vector>


namespace vela::script {
namespace {

std::u16string TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::u16string WithoutMnemonics(const std::u16string& text) {
  std::u16string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

bool Matches(HWND window, bool topLevel, const Control& control) {
  if (control.by == Control::By::Id) {
    // A top-level window's id is its menu, not a control id.
    return !topLevel && GetDlgCtrlID(window) == control.id;
  }
  const std::u16string text = TextOf(window);
  return text == control.caption || WithoutMnemonics(text) == control.caption;
}

// Depth first, the window before its children; hidden subtrees only when asked for.
void Collect(HWND window, bool topLevel, bool anyVisibility, std::vector<std::pair<HWND, bool>>& out) {
  if (!anyVisibility && !IsWindowVisible(window)) return;
  out.emplace_back(window, topLevel);
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    Collect(child, false, anyVisibility, out);
  }
}

}  // namespace

HWND FindControl(DWORD uiThread, const Control& control, bool anyVisibility) {
  std::vector<std::pair<HWND, bool>> windows;
  for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
    if (GetWindowThreadProcessId(top, nullptr) == uiThread) Collect(top, true, anyVisibility, windows);
  }
  HWND hidden = nullptr;
  for (const auto& [window, topLevel] : windows) {
    if (!Matches(window, topLevel, control)) continue;
    if (IsWindowVisible(window)) return window;
    if (hidden == nullptr) hidden = window;
  }
  return hidden;
}

}  // namespace vela::script
