#include "Expression.h"

#include <cstring>

namespace vela::rc {
namespace {

// Binary operators from the loosest binding to the tightest.
const std::vector<std::vector<const char*>> kLevels = {
    {"||"}, {"&&"}, {"|"}, {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="},
    {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
constexpr int kFirstResourceLevel = 2;  // rc's own expressions start at "|"

Value Combine(const char* op, Value a, Value b, const Token& where) {
  Value r{0, a.isLong || b.isLong};
  const int64_t x = a.number;
  const int64_t y = b.number;
  if ((!std::strcmp(op, "/") || !std::strcmp(op, "%")) && y == 0) {
    throw RcError(where.where, "division by zero");
  }
  if (!std::strcmp(op, "||")) r.number = x || y;
  else if (!std::strcmp(op, "&&")) r.number = x && y;
  else if (!std::strcmp(op, "|")) r.number = x | y;
  else if (!std::strcmp(op, "^")) r.number = x ^ y;
  else if (!std::strcmp(op, "&")) r.number = x & y;
  else if (!std::strcmp(op, "==")) r.number = x == y;
  else if (!std::strcmp(op, "!=")) r.number = x != y;
  else if (!std::strcmp(op, "<")) r.number = x < y;
  else if (!std::strcmp(op, ">")) r.number = x > y;
  else if (!std::strcmp(op, "<=")) r.number = x <= y;
  else if (!std::strcmp(op, ">=")) r.number = x >= y;
  else if (!std::strcmp(op, "<<")) r.number = (y < 0 || y > 31) ? 0 : static_cast<int64_t>(static_cast<uint64_t>(x) << y);
  else if (!std::strcmp(op, ">>")) r.number = (y < 0 || y > 31) ? 0 : x >> y;
  else if (!std::strcmp(op, "+")) r.number = x + y;
  else if (!std::strcmp(op, "-")) r.number = x - y;
  else if (!std::strcmp(op, "*")) r.number = x * y;
  else if (!std::strcmp(op, "/")) r.number = x / y;
  else r.number = x % y;
  // Values stay within 32 bits, as the compiler's own do.
  r.number = static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(r.number & 0xFFFFFFFF)));
  return r;
}

}  // namespace

const Token& ExpressionParser::Peek() const { return tokens_[pos_]; }

const Token& ExpressionParser::Expect() {
  if (AtEnd()) {
    const SourceLocation where = tokens_.empty() ? SourceLocation{} : tokens_.back().where;
    throw RcError(where, "expression ends too early");
  }
  return tokens_[pos_++];
}

Value ExpressionParser::Parse() { return Ternary(); }

Value ExpressionParser::ParseResourceExpression() {
  resourceMode_ = true;
  return Binary(kFirstResourceLevel);
}

uint32_t ExpressionParser::ParseStyle(uint32_t defaults) {
  resourceMode_ = true;
  uint32_t style = defaults;
  while (true) {
    if (!AtEnd() && Peek().IsKeyword("NOT")) {
      ++pos_;
      style &= ~static_cast<uint32_t>(Unary().number);
    } else {
      style |= static_cast<uint32_t>(Binary(kFirstResourceLevel + 1).number);
    }
    if (AtEnd() || !Peek().IsPunct("|")) {
      return style;
    }
    ++pos_;
  }
}

Value ExpressionParser::Ternary() {
  Value condition = Binary(0);
  if (!AtEnd() && Peek().IsPunct("?")) {
    ++pos_;
    Value yes = Ternary();
    if (AtEnd() || !Peek().IsPunct(":")) {
      throw RcError(tokens_[pos_ - 1].where, "':' expected in a conditional expression");
    }
    ++pos_;
    Value no = Ternary();
    return condition.number ? yes : no;
  }
  return condition;
}

Value ExpressionParser::Binary(int level) {
  if (level >= static_cast<int>(kLevels.size())) {
    return Unary();
  }
  Value left = Binary(level + 1);
  while (!AtEnd() && Peek().kind == TokenKind::Punctuator) {
    const char* op = nullptr;
    for (const char* candidate : kLevels[static_cast<size_t>(level)]) {
      if (Peek().text == candidate) {
        op = candidate;
      }
    }
    if (!op) {
      break;
    }
    const Token& where = Expect();
    left = Combine(op, left, Binary(level + 1), where);
  }
  return left;
}

Value ExpressionParser::Unary() {
  const Token& token = Expect();
  if (token.IsPunct("-")) {
    Value v = Unary();
    v.number = -v.number;
    return v;
  }
  if (token.IsPunct("+")) {
    return Unary();
  }
  if (token.IsPunct("~")) {
    Value v = Unary();
    v.number = static_cast<int32_t>(~static_cast<uint32_t>(v.number));
    return v;
  }
  if (token.IsPunct("!") && !resourceMode_) {
    Value v = Unary();
    v.number = !v.number;
    return v;
  }
  if (resourceMode_ && token.IsKeyword("NOT")) {
    Value v = Unary();
    v.number = static_cast<int32_t>(~static_cast<uint32_t>(v.number));
    return v;
  }
  --pos_;
  return Primary();
}

Value ExpressionParser::Primary() {
  const Token& token = Expect();
  switch (token.kind) {
    case TokenKind::Number:
      return Value{token.number, token.isLong};
    case TokenKind::Identifier:
      if (rule_ == IdentifierRule::Zero) {
        return Value{};
      }
      throw RcError(token.where, "undefined symbol '" + token.text + "'");
    case TokenKind::String:
      throw RcError(token.where, "a number is expected here, not a string");
    case TokenKind::Punctuator:
      if (token.IsPunct("(")) {
        Value v = resourceMode_ ? Binary(kFirstResourceLevel) : Ternary();
        if (AtEnd() || !Peek().IsPunct(")")) {
          throw RcError(token.where, "')' expected");
        }
        ++pos_;
        return v;
      }
      throw RcError(token.where, "a number is expected here, not '" + token.text + "'");
  }
  throw RcError(token.where, "a number is expected here");
}

}  // namespace vela::rc
