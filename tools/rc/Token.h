// Tokens of a resource script after decoding to UTF-16.
#pragma once

#include <cstdint>
#include <string>

#include "Diagnostic.h"

namespace vela::rc {

enum class TokenKind { Identifier, Number, String, Punctuator };

struct Token {
  TokenKind kind;
  std::string text;         // identifiers, punctuators and numbers as written (ASCII)
  std::u16string value;     // strings: the text with escapes resolved
  bool wide = false;        // strings: L"..."
  int64_t number = 0;       // numbers
  bool isLong = false;      // numbers: an L suffix makes a 32-bit value
  SourceLocation where;

  bool Is(TokenKind k, const char* t) const { return kind == k && text == t; }
  bool IsPunct(const char* t) const { return Is(TokenKind::Punctuator, t); }
  // Keywords of the script are not case-sensitive.
  bool IsKeyword(const char* keyword) const;
};

}  // namespace vela::rc
