#include "Lexer.h"

#include <strings.h>

namespace vela::rc {

bool Token::IsKeyword(const char* keyword) const {
  return kind == TokenKind::Identifier && strcasecmp(text.c_str(), keyword) == 0;
}

namespace {

bool IsIdentStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool IsIdentPart(char16_t c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out += static_cast<char>(c < 0x80 ? c : '?');
  }
  return out;
}

// A string literal starting at the quote; rc doubles a quote to write one and knows the C
// escapes.
size_t ReadString(std::u16string_view line, size_t pos, const SourceLocation& where, Token* token) {
  ++pos;  // opening quote
  while (true) {
    if (pos >= line.size()) {
      throw RcError(where, "string literal is not closed on its line");
    }
    const char16_t c = line[pos];
    if (c == u'"') {
      if (pos + 1 < line.size() && line[pos + 1] == u'"') {
        token->value += u'"';
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    if (c != u'\\' || pos + 1 >= line.size()) {
      token->value += c;
      ++pos;
      continue;
    }
    const char16_t e = line[pos + 1];
    pos += 2;
    switch (e) {
      case u'n': token->value += u'\n'; break;
      case u'r': token->value += u'\r'; break;
      case u't': token->value += u'\t'; break;
      case u'a': token->value += u'\a'; break;
      case u'b': token->value += u'\b'; break;
      case u'f': token->value += u'\f'; break;
      case u'v': token->value += u'\v'; break;
      case u'\\': token->value += u'\\'; break;
      case u'"': token->value += u'"'; break;
      case u'\'': token->value += u'\''; break;
      case u'x': case u'X': {
        uint32_t v = 0;
        int digits = 0;
        while (pos < line.size() && HexValue(line[pos]) >= 0 && digits < 4) {
          v = v * 16 + static_cast<uint32_t>(HexValue(line[pos++]));
          ++digits;
        }
        if (digits == 0) {
          throw RcError(where, "\\x without hexadecimal digits in a string literal");
        }
        token->value += static_cast<char16_t>(v);
        break;
      }
      default:
        if (e >= u'0' && e <= u'7') {
          uint32_t v = static_cast<uint32_t>(e - u'0');
          for (int i = 0; i < 2 && pos < line.size() && line[pos] >= u'0' && line[pos] <= u'7'; ++i) {
            v = v * 8 + static_cast<uint32_t>(line[pos++] - u'0');
          }
          token->value += static_cast<char16_t>(v);
        } else {
          // rc keeps an unknown escape as it is written.
          token->value += u'\\';
          token->value += e;
        }
    }
  }
}

size_t ReadNumber(std::u16string_view line, size_t pos, const SourceLocation& where, Token* token) {
  const size_t start = pos;
  uint64_t value = 0;
  if (line[pos] == u'0' && pos + 1 < line.size() && (line[pos + 1] == u'x' || line[pos + 1] == u'X')) {
    pos += 2;
    const size_t digits = pos;
    while (pos < line.size() && HexValue(line[pos]) >= 0) {
      value = value * 16 + static_cast<uint64_t>(HexValue(line[pos++]));
      value &= 0xFFFFFFFFu;
    }
    if (pos == digits) {
      throw RcError(where, "hexadecimal number without digits");
    }
  } else {
    const bool octal = line[pos] == u'0';
    while (pos < line.size() && IsDigit(line[pos])) {
      value = value * (octal ? 8 : 10) + static_cast<uint64_t>(line[pos++] - u'0');
      value &= 0xFFFFFFFFu;
    }
  }
  while (pos < line.size() && (line[pos] == u'L' || line[pos] == u'l' || line[pos] == u'U' || line[pos] == u'u')) {
    if (line[pos] == u'L' || line[pos] == u'l') {
      token->isLong = true;
    }
    ++pos;
  }
  if (pos < line.size() && IsIdentPart(line[pos])) {
    throw RcError(where, "malformed number '" + Ascii(line.substr(start, pos - start + 1)) + "'");
  }
  token->number = static_cast<int64_t>(value);
  token->text = Ascii(line.substr(start, pos - start));
  return pos;
}

}  // namespace

std::u16string StripComments(std::u16string_view line, bool* inComment) {
  std::u16string out;
  size_t i = 0;
  bool inString = false;
  while (i < line.size()) {
    if (*inComment) {
      const size_t end = line.find(u"*/", i);
      if (end == std::u16string_view::npos) {
        return out;
      }
      *inComment = false;
      out += u' ';
      i = end + 2;
      continue;
    }
    const char16_t c = line[i];
    if (inString) {
      out += c;
      if (c == u'\\' && i + 1 < line.size()) {
        out += line[++i];
      } else if (c == u'"') {
        inString = false;
      }
      ++i;
      continue;
    }
    if (c == u'"') {
      inString = true;
    } else if (c == u'/' && i + 1 < line.size() && line[i + 1] == u'/') {
      return out;
    } else if (c == u'/' && i + 1 < line.size() && line[i + 1] == u'*') {
      *inComment = true;
      i += 2;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

std::vector<Token> Tokenize(std::u16string_view line, const SourceLocation& where) {
  std::vector<Token> tokens;
  size_t pos = 0;
  while (pos < line.size()) {
    const char16_t c = line[pos];
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\f' || c == u'\v' || c == 0xFEFF) {
      ++pos;
      continue;
    }
    Token token{TokenKind::Punctuator, {}, {}, false, 0, false, where};
    if ((c == u'L' || c == u'l') && pos + 1 < line.size() && line[pos + 1] == u'"') {
      token.kind = TokenKind::String;
      token.wide = true;
      pos = ReadString(line, pos + 1, where, &token);
    } else if (c == u'"') {
      token.kind = TokenKind::String;
      pos = ReadString(line, pos, where, &token);
    } else if (IsDigit(c)) {
      token.kind = TokenKind::Number;
      pos = ReadNumber(line, pos, where, &token);
    } else if (IsIdentStart(c)) {
      const size_t start = pos;
      while (pos < line.size() && IsIdentPart(line[pos])) {
        ++pos;
      }
      token.kind = TokenKind::Identifier;
      token.text = Ascii(line.substr(start, pos - start));
    } else {
      static const char* const kTwoChar[] = {"||", "&&", "==", "!=", "<=", ">=", "<<", ">>", "##"};
      bool matched = false;
      if (pos + 1 < line.size()) {
        for (const char* two : kTwoChar) {
          if (line[pos] == static_cast<char16_t>(two[0]) && line[pos + 1] == static_cast<char16_t>(two[1])) {
            token.text = two;
            pos += 2;
            matched = true;
            break;
          }
        }
      }
      if (!matched) {
        if (c >= 0x80 || std::u16string_view(u"{}(),|&+-~*/%!<>=?:#^.;[]").find(c) == std::u16string_view::npos) {
          throw RcError(where, c < 0x80 ? std::string("unexpected character '") + static_cast<char>(c) + "'"
                                        : std::string("unexpected character outside a string literal"));
        }
        token.text = std::string(1, static_cast<char>(c));
        ++pos;
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace vela::rc
