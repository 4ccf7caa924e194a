// CharNextA and CharPrevA: walking ANSI text by characters, so callers that look for single-byte
// marks ("\", ";") never stop inside a double-byte character.
#include <winnls.h>

LPSTR CharNextA(LPCSTR lpsz) {
  if (!lpsz || *lpsz == 0) return const_cast<LPSTR>(lpsz);
  // A lead byte before the terminator would swallow it; such a byte is a character by itself.
  if (IsDBCSLeadByte(static_cast<BYTE>(*lpsz)) && lpsz[1] != 0) return const_cast<LPSTR>(lpsz + 2);
  return const_cast<LPSTR>(lpsz + 1);
}

LPSTR CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent) {
  if (!lpszStart || !lpszCurrent || lpszCurrent <= lpszStart) return const_cast<LPSTR>(lpszStart);
  // Trail bytes look like lead bytes or plain bytes, so only a walk from the start is sure.
  LPCSTR previous = lpszStart;
  for (LPCSTR p = lpszStart; p < lpszCurrent && *p;) {
    previous = p;
    p = CharNextA(p);
  }
  return const_cast<LPSTR>(previous);
}
