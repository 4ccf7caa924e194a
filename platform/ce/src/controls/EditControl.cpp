// The EDIT class, one line: typing, Backspace/Delete, arrows with Shift, Home/End, selection by
// stylus and by message, a limit, password and number styles, and the notifications a parent
// or an input method relies on. The caret is drawn as a steady line while focused, so screen
// pictures do not depend on time.
#include <algorithm>

#include "controls/ControlProcs.h"
#include "controls/ControlState.h"
#include "controls/ControlSupport.h"
#include "controls/EditBuffer.h"
#include "windlg.h"

namespace vela::controls {
namespace {

constexpr int kMargin = 2;

struct EditState {
  EditBuffer buffer;
  HFONT font = nullptr;
  bool focused = false;
  bool modified = false;
  bool dragging = false;
  int scroll = 0;  // pixels of text hidden on the left
  WCHAR passwordChar = u'*';
};

ControlStates<EditState>& States() {
  static ControlStates<EditState> states;
  return states;
}

std::u16string DisplayText(HWND hwnd, const EditState& state) {
  if ((WindowStyle(hwnd) & ES_PASSWORD) && state.passwordChar != 0)
    return std::u16string(state.buffer.text().size(), state.passwordChar);
  return state.buffer.text();
}

// Width of the first count characters of the displayed text in the control's font.
class TextMeasure {
 public:
  TextMeasure(HWND hwnd, const EditState& state) : hwnd_(hwnd), text_(DisplayText(hwnd, state)) {
    hdc_ = GetDC(hwnd);
    if (hdc_) old_ = SelectObject(hdc_, FontOrSystem(state.font));
  }
  ~TextMeasure() {
    if (hdc_) {
      SelectObject(hdc_, old_);
      ReleaseDC(hwnd_, hdc_);
    }
  }
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  int width(std::size_t count) const {
    if (!hdc_ || count == 0) return 0;
    SIZE size{};
    GetTextExtentPoint32W(hdc_, text_.c_str(), static_cast<int>(std::min(count, text_.size())), &size);
    return size.cx;
  }
  // The character boundary nearest to x (text coordinates).
  std::size_t positionAt(int x) const {
    std::size_t best = 0;
    int bestDistance = x < 0 ? -x : x;
    for (std::size_t i = 1; i <= text_.size(); ++i) {
      int d = width(i) - x;
      if (d < 0) d = -d;
      if (d < bestDistance) {
        best = i;
        bestDistance = d;
      }
    }
    return best;
  }

 private:
  HWND hwnd_;
  std::u16string text_;
  HDC hdc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

int ClientWidth(HWND hwnd) {
  RECT rect;
  GetClientRect(hwnd, &rect);
  return rect.right - rect.left - 2 * kMargin;
}

// Where the text starts inside the margins: aligned when it fits, scrolled otherwise.
int TextOrigin(HWND hwnd, const EditState& state, const TextMeasure& measure) {
  int available = ClientWidth(hwnd);
  int total = measure.width(state.buffer.text().size());
  DWORD style = WindowStyle(hwnd);
  if (total <= available) {
    if (style & ES_RIGHT) return kMargin + available - total;
    if (style & ES_CENTER) return kMargin + (available - total) / 2;
    return kMargin;
  }
  return kMargin - state.scroll;
}

// Scrolls so the caret stays in view.
void KeepCaretVisible(HWND hwnd, EditState& state) {
  TextMeasure measure(hwnd, state);
  int available = ClientWidth(hwnd);
  int total = measure.width(state.buffer.text().size());
  if (total <= available) {
    state.scroll = 0;
    return;
  }
  int caretX = measure.width(state.buffer.caret());
  if (caretX - state.scroll > available) state.scroll = caretX - available;
  if (caretX < state.scroll) state.scroll = caretX;
  state.scroll = std::clamp(state.scroll, 0, std::max(0, total - available + 1));
}

bool FitsWithoutScrolling(HWND hwnd, const EditState& state) {
  if (WindowStyle(hwnd) & (ES_AUTOHSCROLL | ES_MULTILINE)) return true;
  TextMeasure measure(hwnd, state);
  return measure.width(state.buffer.text().size()) <= ClientWidth(hwnd);
}

void Changed(HWND hwnd, EditState& state, bool notify) {
  state.modified = true;
  KeepCaretVisible(hwnd, state);
  if (notify) NotifyParent(hwnd, EN_UPDATE);
  InvalidateRect(hwnd, nullptr, TRUE);
  if (notify && IsWindow(hwnd)) NotifyParent(hwnd, EN_CHANGE);
}

// Puts text where the selection is; refuses what exceeds the limit or, without
// ES_AUTOHSCROLL, the width of the control. Returns whether anything changed.
bool Insert(HWND hwnd, EditState& state, std::u16string_view text, bool notify) {
  EditBuffer before = state.buffer;
  bool whole = state.buffer.replaceSelection(text);
  if (!FitsWithoutScrolling(hwnd, state)) {
    state.buffer = before;
    whole = false;
  }
  bool changed = state.buffer.text() != before.text();
  if (changed) Changed(hwnd, state, notify);
  if (!whole && notify && IsWindow(hwnd)) NotifyParent(hwnd, EN_MAXTEXT);
  return changed;
}

void SelectionChanged(HWND hwnd, EditState& state) {
  KeepCaretVisible(hwnd, state);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Paint(HWND hwnd, HDC hdc) {
  EditState* state = States().get(hwnd);
  DWORD style = WindowStyle(hwnd);
  RECT rect;
  GetClientRect(hwnd, &rect);
  // Read-only and disabled edits are coloured as statics, as on the platform.
  bool passive = (style & ES_READONLY) || !IsWindowEnabled(hwnd);
  HBRUSH brush = ControlColorBrush(hwnd, hdc, passive ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  FillRect(hdc, &rect, brush);
  if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  std::u16string text = DisplayText(hwnd, *state);
  TextMeasure measure(hwnd, *state);
  int origin = TextOrigin(hwnd, *state, measure);
  HGDIOBJ oldFont = SelectObject(hdc, FontOrSystem(state->font));
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  int top = rect.top + std::max(0, (rect.bottom - rect.top - static_cast<int>(tm.tmHeight)) / 2);
  SetBkMode(hdc, TRANSPARENT);
  RECT clip{rect.left + kMargin - 1, rect.top, rect.right - kMargin + 1, rect.bottom};
  int saved = SaveDC(hdc);
  IntersectClipRect(hdc, clip.left, clip.top, clip.right, clip.bottom);
  ExtTextOutW(hdc, rect.left + origin, top, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  std::size_t s = state->buffer.selectionStart();
  std::size_t e = state->buffer.selectionEnd();
  if (s != e && (state->focused || (style & ES_NOHIDESEL))) {
    RECT sel{rect.left + origin + measure.width(s), top, rect.left + origin + measure.width(e),
             top + static_cast<int>(tm.tmHeight)};
    FillRect(hdc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    ExtTextOutW(hdc, sel.left, top, ETO_CLIPPED, &sel, text.c_str() + s, static_cast<UINT>(e - s), nullptr);
  }
  if (state->focused) {
    int x = rect.left + origin + measure.width(state->buffer.caret());
    RECT caret{x, top, x + 1, top + static_cast<int>(tm.tmHeight)};
    FillRect(hdc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
  RestoreDC(hdc, saved);
  SelectObject(hdc, oldFont);
}

bool AcceptChar(HWND hwnd, WCHAR& c) {
  DWORD style = WindowStyle(hwnd);
  if ((style & ES_NUMBER) && !(c >= u'0' && c <= u'9')) return false;
  if ((style & ES_UPPERCASE) && c >= u'a' && c <= u'z') c = static_cast<WCHAR>(c - u'a' + u'A');
  if ((style & ES_LOWERCASE) && c >= u'A' && c <= u'Z') c = static_cast<WCHAR>(c - u'A' + u'a');
  return true;
}

void OnChar(HWND hwnd, EditState& state, WCHAR c) {
  if (WindowStyle(hwnd) & ES_READONLY) return;
  if (c == VK_BACK) {
    if (state.buffer.deleteBackward()) Changed(hwnd, state, true);
    return;
  }
  if (c < 0x20) return;  // Enter, Tab, Escape and control characters are not text here
  if (!AcceptChar(hwnd, c)) return;
  Insert(hwnd, state, std::u16string_view(&c, 1), true);
}

void OnKeyDown(HWND hwnd, EditState& state, WPARAM key) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  const EditBuffer& b = state.buffer;
  switch (key) {
    case VK_LEFT:
      if (b.hasSelection() && !shift)
        state.buffer.moveCaret(b.selectionStart(), false);
      else
        state.buffer.moveCaret(b.caret() > 0 ? b.caret() - 1 : 0, shift);
      break;
    case VK_RIGHT:
      if (b.hasSelection() && !shift)
        state.buffer.moveCaret(b.selectionEnd(), false);
      else
        state.buffer.moveCaret(b.caret() + 1, shift);
      break;
    case VK_HOME: state.buffer.moveCaret(0, shift); break;
    case VK_END: state.buffer.moveCaret(b.text().size(), shift); break;
    case VK_DELETE:
      if (!(WindowStyle(hwnd) & ES_READONLY) && state.buffer.deleteForward()) Changed(hwnd, state, true);
      return;
    default: return;
  }
  SelectionChanged(hwnd, state);
}

std::size_t PositionFromPoint(HWND hwnd, EditState& state, LPARAM lParam) {
  TextMeasure measure(hwnd, state);
  int origin = TextOrigin(hwnd, state, measure);
  return measure.positionAt(PointFromLParam(lParam).x - origin);
}

LRESULT GetText(EditState& state, WPARAM wParam, LPARAM lParam) {
  auto* out = reinterpret_cast<LPWSTR>(lParam);
  if (out == nullptr || wParam == 0) return 0;
  const std::u16string& text = state.buffer.text();
  std::size_t count = std::min(text.size(), static_cast<std::size_t>(wParam) - 1);
  std::copy_n(text.data(), count, out);
  out[count] = 0;
  return static_cast<LRESULT>(count);
}

}  // namespace

LRESULT CALLBACK EditWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      EditState* state = States().create(hwnd);
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) state->buffer.setText(cs->lpszName);
      return 0;
    }
    case WM_DESTROY:
      States().destroy(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintWindow(hwnd, Paint);
      return 0;
    case WM_SETTEXT: {
      EditState* state = States().get(hwnd);
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      std::u16string value = text ? std::u16string(text) : std::u16string();
      if (value.size() > state->buffer.limit()) value.resize(state->buffer.limit());
      DefWindowProcW(hwnd, message, wParam, reinterpret_cast<LPARAM>(value.c_str()));
      state->buffer.setText(std::move(value));
      state->scroll = 0;
      state->modified = false;
      NotifyParent(hwnd, EN_UPDATE);
      InvalidateRect(hwnd, nullptr, TRUE);
      if (IsWindow(hwnd)) NotifyParent(hwnd, EN_CHANGE);
      return TRUE;
    }
    case WM_GETTEXT:
      return GetText(*States().get(hwnd), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(States().get(hwnd)->buffer.text().size());
    case WM_SETFONT:
      KeepFont(hwnd, States().get(hwnd)->font, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(States().get(hwnd)->font);
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_CHAR:
      OnChar(hwnd, *States().get(hwnd), static_cast<WCHAR>(wParam));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, *States().get(hwnd), wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      EditState* state = States().get(hwnd);
      bool shift = (wParam & MK_SHIFT) != 0;
      state->buffer.moveCaret(PositionFromPoint(hwnd, *state, lParam), shift);
      state->dragging = true;
      SetCapture(hwnd);
      SelectionChanged(hwnd, *state);
      return 0;
    }
    case WM_MOUSEMOVE: {
      EditState* state = States().get(hwnd);
      if (state->dragging && GetCapture() == hwnd) {
        std::size_t at = PositionFromPoint(hwnd, *state, lParam);
        if (at != state->buffer.caret()) {
          state->buffer.moveCaret(at, true);
          SelectionChanged(hwnd, *state);
        }
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      EditState* state = States().get(hwnd);
      if (state->dragging) {
        state->dragging = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      States().get(hwnd)->dragging = false;
      return 0;
    case WM_SETFOCUS: {
      EditState* state = States().get(hwnd);
      state->focused = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    }
    case WM_KILLFOCUS: {
      EditState* state = States().get(hwnd);
      state->focused = false;
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    }
    case WM_CLEAR: {
      EditState* state = States().get(hwnd);
      if (!(WindowStyle(hwnd) & ES_READONLY) && state->buffer.hasSelection()) Insert(hwnd, *state, u"", true);
      return 0;
    }
    case EM_GETSEL: {
      EditState* state = States().get(hwnd);
      auto start = static_cast<DWORD>(state->buffer.selectionStart());
      auto end = static_cast<DWORD>(state->buffer.selectionEnd());
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELPARAM(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL: {
      EditState* state = States().get(hwnd);
      state->buffer.setSelection(static_cast<int>(wParam), static_cast<int>(lParam));
      SelectionChanged(hwnd, *state);
      return 0;
    }
    case EM_REPLACESEL: {
      EditState* state = States().get(hwnd);
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      Insert(hwnd, *state, text ? std::u16string_view(text) : std::u16string_view(), true);
      return 0;
    }
    case EM_LIMITTEXT:
      States().get(hwnd)->buffer.setLimit(static_cast<std::size_t>(static_cast<UINT>(wParam)));
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(States().get(hwnd)->buffer.limit());
    case EM_GETLINECOUNT:
      return 1;
    case EM_LINEINDEX:
      return 0;
    case EM_LINEFROMCHAR:
      return 0;
    case EM_LINELENGTH:
      return static_cast<LRESULT>(States().get(hwnd)->buffer.text().size());
    case EM_GETLINE: {
      // The buffer's first WORD holds its size in characters; the copy is not terminated.
      auto* out = reinterpret_cast<LPWSTR>(lParam);
      if (out == nullptr) return 0;
      std::size_t room = static_cast<WORD>(out[0]);
      const std::u16string& text = States().get(hwnd)->buffer.text();
      std::size_t count = std::min(room, text.size());
      std::copy_n(text.data(), count, out);
      return static_cast<LRESULT>(count);
    }
    case EM_GETMODIFY:
      return States().get(hwnd)->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      States().get(hwnd)->modified = wParam != 0;
      return 0;
    case EM_SETREADONLY: {
      LONG_PTR style = GetWindowLongW(hwnd, GWL_STYLE);
      SetWindowLongW(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY)));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR:
      States().get(hwnd)->passwordChar = static_cast<WCHAR>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case EM_GETPASSWORDCHAR:
      return States().get(hwnd)->passwordChar;
    case EM_SCROLLCARET:
      SelectionChanged(hwnd, *States().get(hwnd));
      return TRUE;
    case EM_CANUNDO:
    case EM_UNDO:
      return FALSE;
    case EM_EMPTYUNDOBUFFER:
      return 0;
    case EM_GETRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (out) {
        GetClientRect(hwnd, out);
        InflateRect(out, -kMargin, 0);
      }
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace vela::controls
