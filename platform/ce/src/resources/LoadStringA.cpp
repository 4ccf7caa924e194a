// LoadStringA: the wide string of the module's table, converted to the ANSI code page.
#include <winuser.h>

#include <cstring>
#include <string>

#include "modules/AnsiText.h"

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  // The ANSI form has no read-only pointer mode: it needs a buffer with room for the zero.
  if (!lpBuffer || cchBufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  lpBuffer[0] = 0;
  const WCHAR* text = nullptr;
  const int units = LoadStringW(hInstance, uID, reinterpret_cast<LPWSTR>(&text), 0);
  if (units <= 0 || !text) return 0;
  const std::string ansi = vela::modules::WideToAnsi(std::u16string_view(text, static_cast<size_t>(units)));
  const size_t bytes = vela::modules::AnsiPrefixLength(ansi, static_cast<size_t>(cchBufferMax - 1));
  std::memcpy(lpBuffer, ansi.data(), bytes);
  lpBuffer[bytes] = 0;
  return static_cast<int>(bytes);
}
