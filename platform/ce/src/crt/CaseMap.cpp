#include "crt/CaseMap.h"

namespace vela::casemap {
namespace {

char16_t Add(char16_t c, int delta) { return static_cast<char16_t>(c + delta); }

bool Within(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

// Blocks where capital and small letters alternate; evenUpper says which one comes first.
struct PairRange {
  char16_t first;
  char16_t last;
  bool evenUpper;
};

constexpr PairRange kPairs[] = {
    {0x0100, 0x012F, true},  {0x0132, 0x0137, true},  {0x0139, 0x0148, false},
    {0x014A, 0x0177, true},  {0x0179, 0x017E, false}, {0x03D8, 0x03EF, true},
    {0x0460, 0x0481, true},  {0x048A, 0x04BF, true},  {0x04C1, 0x04CE, false},
    {0x04D0, 0x04FF, true},
};

const PairRange* FindPair(char16_t c) {
  for (const PairRange& r : kPairs) {
    if (Within(c, r.first, r.last)) {
      return &r;
    }
  }
  return nullptr;
}

bool IsUpperInPair(const PairRange& r, char16_t c) { return ((c & 1) == 0) == r.evenUpper; }

}  // namespace

char16_t UpperNonAscii(char16_t c) {
  if (c < 0xE0) {
    return c;  // Latin-1 capitals and symbols; sharp s and micro sign stay
  }
  if (c <= 0xFE) {
    return c == 0xF7 ? c : Add(c, -0x20);
  }
  if (c == 0xFF) {
    return 0x0178;
  }
  if (c < 0x0100) {
    return c;
  }
  if (c < 0x0180 || Within(c, 0x03D8, 0x03EF) || Within(c, 0x0460, 0x04FF)) {
    if (c == 0x04CF) {
      return 0x04C0;
    }
    const PairRange* r = FindPair(c);
    return (r && !IsUpperInPair(*r, c)) ? Add(c, -1) : c;
  }
  if (Within(c, 0x03AC, 0x03CE)) {
    if (c == 0x03AC) return 0x0386;
    if (c <= 0x03AF) return Add(c, -37);   // έ ή ί
    if (c == 0x03B0) return c;
    if (c == 0x03C2) return 0x03A3;        // final sigma
    if (c <= 0x03CB) return Add(c, -32);
    if (c == 0x03CC) return 0x038C;
    return Add(c, -63);                    // ύ ώ
  }
  if (Within(c, 0x0430, 0x045F)) {
    return c < 0x0450 ? Add(c, -32) : Add(c, -80);
  }
  if (Within(c, 0xFF41, 0xFF5A)) {
    return Add(c, -32);
  }
  return c;
}

char16_t LowerNonAscii(char16_t c) {
  if (c < 0xC0) {
    return c;
  }
  if (c <= 0xDE) {
    return c == 0xD7 ? c : Add(c, 0x20);
  }
  if (c < 0x0100) {
    return c;
  }
  if (c == 0x0178) {
    return 0x00FF;
  }
  if (c < 0x0180 || Within(c, 0x03D8, 0x03EF) || Within(c, 0x0460, 0x04FF)) {
    if (c == 0x04C0) {
      return 0x04CF;
    }
    const PairRange* r = FindPair(c);
    return (r && IsUpperInPair(*r, c)) ? Add(c, 1) : c;
  }
  if (Within(c, 0x0386, 0x03AB)) {
    if (c == 0x0386) return 0x03AC;
    if (Within(c, 0x0388, 0x038A)) return Add(c, 37);
    if (c == 0x038C) return 0x03CC;
    if (Within(c, 0x038E, 0x038F)) return Add(c, 63);
    if (c >= 0x0391 && c != 0x03A2) return Add(c, 32);
    return c;
  }
  if (Within(c, 0x0400, 0x042F)) {
    return c < 0x0410 ? Add(c, 80) : Add(c, 32);
  }
  if (Within(c, 0xFF21, 0xFF3A)) {
    return Add(c, 32);
  }
  return c;
}

}  // namespace vela::casemap
