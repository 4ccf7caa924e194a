// The platform's simple case mapping of one UTF-16 code unit: ASCII, Latin-1, Latin
// Extended-A, Greek, Cyrillic and the full-width Latin letters. Anything else (kana, kanji,
// symbols) maps to itself. Shared by the runtime library, CharUpper/CharLower and the
// case-blind file name lookup.
#pragma once

namespace vela::casemap {

char16_t UpperNonAscii(char16_t c);
char16_t LowerNonAscii(char16_t c);

inline char16_t Upper(char16_t c) {
  if (c < 0x80) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  }
  return UpperNonAscii(c);
}

inline char16_t Lower(char16_t c) {
  if (c < 0x80) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  }
  return LowerNonAscii(c);
}

}  // namespace vela::casemap
