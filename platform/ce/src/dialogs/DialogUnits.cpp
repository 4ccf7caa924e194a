#include "dialogs/DialogUnits.h"

#include <algorithm>

#include "dialogs/DialogRecord.h"
#include "windlg.h"

namespace vela::dialogs {
namespace {

int MulDivRound(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

BaseUnits FontBaseUnits(HFONT font) {
  static const char16_t kLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  HDC hdc = GetDC(nullptr);
  BaseUnits units{4, 8};
  if (hdc == nullptr) return units;
  HGDIOBJ old = SelectObject(hdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW tm{};
  SIZE size{};
  if (GetTextMetricsW(hdc, &tm) && GetTextExtentPoint32W(hdc, kLetters, 52, &size)) {
    units.x = std::max(1, static_cast<int>((size.cx / 26 + 1) / 2));
    units.y = std::max(1, static_cast<int>(tm.tmHeight));
  }
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  return units;
}

int DluToPixelsX(int dlu, const BaseUnits& units) { return MulDivRound(dlu, units.x, 4); }
int DluToPixelsY(int dlu, const BaseUnits& units) { return MulDivRound(dlu, units.y, 8); }

HFONT CreateDialogFont(WORD points, WORD weight, BYTE italic, BYTE charset, const std::u16string& face) {
  HDC hdc = GetDC(nullptr);
  int dpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSY) : 96;
  if (hdc) ReleaseDC(nullptr, hdc);
  if (dpi <= 0) dpi = 96;
  LOGFONTW lf{};
  lf.lfHeight = -MulDivRound(points, dpi, 72);
  lf.lfWeight = weight ? weight : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfCharSet = charset ? charset : DEFAULT_CHARSET;
  std::size_t count = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.data(), count, lf.lfFaceName);
  return CreateFontIndirectW(&lf);
}

}  // namespace vela::dialogs

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect) {
  using namespace vela::dialogs;
  DialogRecord* record = FindDialog(hDlg);
  if (record == nullptr || lpRect == nullptr) {
    SetLastError(record == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  BaseUnits units{record->baseX, record->baseY};
  lpRect->left = DluToPixelsX(lpRect->left, units);
  lpRect->right = DluToPixelsX(lpRect->right, units);
  lpRect->top = DluToPixelsY(lpRect->top, units);
  lpRect->bottom = DluToPixelsY(lpRect->bottom, units);
  return TRUE;
}

LONG GetDialogBaseUnits() {
  vela::dialogs::BaseUnits units = vela::dialogs::FontBaseUnits(nullptr);
  return MAKELONG(units.x, units.y);
}
