// Integer expressions of scripts and of #if, with C's operators and precedence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Token.h"

namespace vela::rc {

struct Value {
  int64_t number = 0;
  bool isLong = false;  // a 32-bit value was asked for (L suffix)
};

enum class IdentifierRule {
  Zero,   // #if: a name that is no macro counts as 0
  Error,  // scripts: a name that is no macro is an undefined symbol
};

class ExpressionParser {
 public:
  ExpressionParser(const std::vector<Token>& tokens, size_t* pos, IdentifierRule rule)
      : tokens_(tokens), pos_(*pos), rule_(rule) {}

  // Reads one expression; stops before a token that cannot continue it (a comma, say).
  Value Parse();
  // Like Parse, without the comparison and logical operators that #if needs only, and with
  // rc's NOT operator.
  Value ParseResourceExpression();
  // A window style: items joined by '|' applied in order to defaults, where "NOT x" clears the
  // bits of x (so "WS_CHILD | NOT WS_VISIBLE" removes a default) and any other item sets them.
  uint32_t ParseStyle(uint32_t defaults);

 private:
  Value Ternary();
  Value Binary(int level);
  Value Unary();
  Value Primary();
  const Token& Peek() const;
  bool AtEnd() const { return pos_ >= tokens_.size(); }
  const Token& Expect();

  const std::vector<Token>& tokens_;
  size_t& pos_;
  IdentifierRule rule_;
  bool resourceMode_ = false;
};

}  // namespace vela::rc
