// One UTF-8 sequence at a time, shared by the code page functions and vela::Utf.
#pragma once

#include <cstddef>

namespace vela::utf8 {

constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the sequence at text[*pos] (pos < length) and advances *pos past it. An ill-formed
// sequence yields kReplacementChar with *wellFormed false; *pos then moves past its maximal
// valid prefix (at least one byte), so every broken sequence costs exactly one replacement.
char32_t Decode(const unsigned char* text, std::size_t length, std::size_t* pos, bool* wellFormed);

// Encodes a scalar value (not a surrogate, at most U+10FFFF) into out; returns 1 to 4.
int Encode(char32_t ch, unsigned char out[4]);

}  // namespace vela::utf8
