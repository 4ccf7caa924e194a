// MessageBoxA: the wide message box with text and caption from the ANSI code page.
#include "windlg.h"

#include "modules/AnsiText.h"

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const std::u16string text = lpText ? vela::modules::AnsiToWide(lpText) : std::u16string();
  const std::u16string caption = lpCaption ? vela::modules::AnsiToWide(lpCaption) : std::u16string();
  return MessageBoxW(hWnd, text.c_str(), lpCaption ? caption.c_str() : nullptr, uType);
}
