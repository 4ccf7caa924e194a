// The dialog item shorthands: text, numbers, messages and check states by control id.
#include <string>

#include "windlg.h"

namespace {

// GetDlgItem sets the last error when there is no such control.
HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

}  // namespace

UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  HWND item = Item(hDlg, nIDDlgItem);
  if (item == nullptr) {
    if (lpString && cchMax > 0) lpString[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, lpString, cchMax));
}

BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  HWND item = Item(hDlg, nIDDlgItem);
  if (item == nullptr) return FALSE;
  return SetWindowTextW(item, lpString);
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
  if (lpTranslated) *lpTranslated = FALSE;
  WCHAR text[64];
  if (GetDlgItemTextW(hDlg, nIDDlgItem, text, 64) == 0 && GetDlgItem(hDlg, nIDDlgItem) == nullptr) return 0;
  const WCHAR* p = text;
  while (*p == u' ' || *p == u'\t') ++p;
  bool negative = false;
  if (bSigned && (*p == u'-' || *p == u'+')) {
    negative = *p == u'-';
    ++p;
  }
  if (*p < u'0' || *p > u'9') return 0;
  unsigned long long value = 0;
  while (*p >= u'0' && *p <= u'9') {
    value = value * 10 + static_cast<unsigned>(*p - u'0');
    if (value > 0xFFFFFFFFull) return 0;  // too large: not translated
    ++p;
  }
  while (*p == u' ' || *p == u'\t') ++p;
  if (*p != 0) return 0;
  if (bSigned) {
    if (negative ? value > 0x80000000ull : value > 0x7FFFFFFFull) return 0;
    if (lpTranslated) *lpTranslated = TRUE;
    long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    return static_cast<UINT>(static_cast<int>(signedValue));
  }
  if (lpTranslated) *lpTranslated = TRUE;
  return static_cast<UINT>(value);
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
  std::string digits = bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
  std::u16string text(digits.begin(), digits.end());
  return SetDlgItemTextW(hDlg, nIDDlgItem, text.c_str());
}

LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND item = Item(hDlg, nIDDlgItem);
  if (item == nullptr) return 0;
  return SendMessageW(item, Msg, wParam, lParam);
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND item = Item(hDlg, nIDButton);
  if (item == nullptr) return FALSE;
  SendMessageW(item, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  HWND item = Item(hDlg, nIDButton);
  if (item == nullptr) return 0;
  return static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  if (!IsWindow(hDlg)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
    HWND item = GetDlgItem(hDlg, id);
    if (item) SendMessageW(item, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}
