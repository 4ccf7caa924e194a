// MessageBox: a real modal window on the terminal's screen, with its text, an icon mark and
// the buttons the type asks for, answered by taps or keys like any dialog. The text also goes
// to the debug channel so a headless run shows it.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "dialogs/ConsoleMessageBox.h"
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRecord.h"
#include "windlg.h"

namespace vela::dialogs {
namespace {

constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0xFFFE;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 6;
constexpr int kIconSize = 24;

struct Button {
  int id;
  const char16_t* label;
};

// The labels of the terminal's Japanese system.
std::vector<Button> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, u"OK"}, {IDCANCEL, u"キャンセル"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, u"中止"}, {IDRETRY, u"再試行"}, {IDIGNORE, u"無視"}};
    case MB_YESNOCANCEL: return {{IDYES, u"はい"}, {IDNO, u"いいえ"}, {IDCANCEL, u"キャンセル"}};
    case MB_YESNO: return {{IDYES, u"はい"}, {IDNO, u"いいえ"}};
    case MB_RETRYCANCEL: return {{IDRETRY, u"再試行"}, {IDCANCEL, u"キャンセル"}};
    default: return {{IDOK, u"OK"}};
  }
}

// A letter in a coloured square stands for the platform's icons, which are not part of the
// terminal's resources here.
const char16_t* IconMark(UINT type, COLORREF* color) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: *color = RGB(0xC0, 0, 0); return u"x";
    case MB_ICONQUESTION: *color = RGB(0, 0, 0xC0); return u"?";
    case MB_ICONEXCLAMATION: *color = RGB(0xC0, 0xA0, 0); return u"!";
    case MB_ICONASTERISK: *color = RGB(0, 0, 0xC0); return u"i";
    default: return nullptr;
  }
}

struct BoxParams {
  std::u16string text;
  UINT type;
  std::vector<Button> buttons;
};

SIZE MeasureText(HWND hwnd, const std::u16string& text, int maxWidth) {
  HDC hdc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
  RECT rect{0, 0, maxWidth, 0};
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(hdc, old);
  ReleaseDC(hwnd, hdc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void Layout(HWND hwnd, const BoxParams& p) {
  int screenW = GetSystemMetrics(SM_CXSCREEN);
  int screenH = GetSystemMetrics(SM_CYSCREEN);
  COLORREF iconColor = 0;
  bool hasIcon = IconMark(p.type, &iconColor) != nullptr;
  int iconSpace = hasIcon ? kIconSize + kMargin : 0;
  RECT frame{0, 0, 100, 100};
  DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int frameW = (frame.right - frame.left) - 100;
  int frameH = (frame.bottom - frame.top) - 100;
  int maxText = std::max(40, screenW - frameW - 2 * kMargin - iconSpace);
  SIZE text = MeasureText(hwnd, p.text, maxText);
  int buttons = static_cast<int>(p.buttons.size());
  int buttonWidth = kButtonWidth;
  for (const Button& b : p.buttons) buttonWidth = std::max<int>(buttonWidth, MeasureText(hwnd, b.label, screenW).cx + 12);
  int buttonsW = buttons * buttonWidth + (buttons - 1) * kButtonGap;
  int clientW = std::max<int>(iconSpace + text.cx, buttonsW) + 2 * kMargin;
  int bodyH = std::max<int>(text.cy, hasIcon ? kIconSize : 0);
  int clientH = kMargin + bodyH + kMargin + kButtonHeight + kMargin;
  clientW = std::min(clientW, screenW - frameW);
  int width = clientW + frameW;
  int height = std::min(clientH + frameH, screenH);
  MoveWindow(hwnd, (screenW - width) / 2, std::max(0, (screenH - height) / 2), width, height, FALSE);

  HINSTANCE instance = nullptr;
  if (hasIcon) {
    CreateWindowExW(0, u"STATIC", IconMark(p.type, &iconColor), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, kMargin, kMargin, kIconSize,
                    kIconSize, hwnd, reinterpret_cast<HMENU>(kIconId), instance, nullptr);
  }
  CreateWindowExW(0, u"STATIC", p.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin + iconSpace,
                  kMargin, text.cx, text.cy, hwnd, reinterpret_cast<HMENU>(kTextId), instance, nullptr);
  int defIndex = static_cast<int>((p.type & MB_DEFMASK) >> 8);
  if (defIndex >= buttons) defIndex = 0;
  int x = (clientW - buttonsW) / 2;
  int y = kMargin + bodyH + kMargin;
  for (int i = 0; i < buttons; ++i) {
    DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                        (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    CreateWindowExW(0, u"BUTTON", p.buttons[i].label, buttonStyle, x, y, buttonWidth, kButtonHeight, hwnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(p.buttons[i].id)), instance, nullptr);
    x += buttonWidth + kButtonGap;
  }
  HWND def = GetDlgItem(hwnd, p.buttons[defIndex].id);
  SendMessageW(hwnd, DM_SETDEFID, p.buttons[defIndex].id, 0);
  if (def) SetDialogFocus(hwnd, def);
}

bool HasButton(const BoxParams& p, int id) {
  return std::any_of(p.buttons.begin(), p.buttons.end(), [id](const Button& b) { return b.id == id; });
}

INT_PTR CALLBACK MessageBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* p = reinterpret_cast<BoxParams*>(lParam);
      SetWindowLongPtrW(hwnd, DWL_USER, lParam);
      Layout(hwnd, *p);
      return FALSE;  // the focus is set already
    }
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (GetDlgCtrlID(control) != kIconId) return FALSE;
      auto* p = reinterpret_cast<BoxParams*>(GetWindowLongPtrW(hwnd, DWL_USER));
      COLORREF color = 0;
      if (!p || !IconMark(p->type, &color)) return FALSE;
      HDC hdc = reinterpret_cast<HDC>(wParam);
      SetTextColor(hdc, RGB(0xFF, 0xFF, 0xFF));
      SetBkColor(hdc, color);
      // One brush per icon kind for the life of the process.
      static const std::array<HBRUSH, 5> brushes = [] {
        std::array<HBRUSH, 5> made{};
        for (UINT kind = 1; kind <= 4; ++kind) {
          COLORREF c = 0;
          if (IconMark(kind << 4, &c)) made[kind] = CreateSolidBrush(c);
        }
        return made;
      }();
      return reinterpret_cast<INT_PTR>(brushes[(p->type & MB_ICONMASK) >> 4]);
    }
    case WM_COMMAND: {
      auto* p = reinterpret_cast<BoxParams*>(GetWindowLongPtrW(hwnd, DWL_USER));
      int id = LOWORD(wParam);
      if (p == nullptr) return FALSE;
      if (HasButton(*p, id)) {
        EndDialog(hwnd, id);
        return TRUE;
      }
      // Escape or Close: a box with only OK answers OK; Yes/No boxes cannot be escaped.
      if (id == IDCANCEL && (p->type & MB_TYPEMASK) == MB_OK) EndDialog(hwnd, IDOK);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void TraceMessageBox(LPCWSTR text, LPCWSTR caption) {
  std::u16string line = u"MessageBox [";
  line += caption ? caption : u"Error";
  line += u"] ";
  line += text ? text : u"";
  line += u"\n";
  OutputDebugStringW(line.c_str());
}

}  // namespace
}  // namespace vela::dialogs

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  using namespace vela::dialogs;
  TraceMessageBox(lpText, lpCaption);
  if (MessageBoxesOnStandardError()) return AnswerOnStandardError(lpText, lpCaption, uType);
  BoxParams params{lpText ? lpText : u"", uType, ButtonsOf(uType)};
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER;
  t.title = lpCaption ? lpCaption : u"Error";
  t.cx = 100;
  t.cy = 40;
  HWND owner = OwnerWindow(hWnd);
  HWND box = CreateFromTemplate(nullptr, t, owner, MessageBoxProc, reinterpret_cast<LPARAM>(&params), true);
  if (box == nullptr) return 0;
  SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return static_cast<int>(RunModal(box, owner));
}
