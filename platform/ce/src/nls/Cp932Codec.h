// Code page 932 as the platform maps it, one character at a time. Shared by the code page
// functions and the runtime library's text streams.
#pragma once

#include <cstdint>

namespace vela::cp932 {

// What an undefined or broken sequence decodes to: the code page's default Unicode character.
constexpr char16_t kDefaultUnicodeChar = 0x30FB;
// What an unmappable character encodes to: the code page's default character "?".
constexpr unsigned char kDefaultChar = 0x3F;

// True for the bytes that start a two-byte character (0x81-0x9F, 0xE0-0xFC).
bool IsLeadByte(unsigned char b);
// True for the bytes that may follow a lead byte (0x40-0x7E, 0x80-0xFC).
bool IsTrailByte(unsigned char b);
// Decodes a byte that is not a lead byte (0x80 -> U+0080, 0xA0 -> U+F8F0, 0xFD-0xFF -> U+F8F1-U+F8F3).
char16_t DecodeSingle(unsigned char b);
// Decodes a lead byte and a trail byte. Sets *defined to false (and returns the default
// Unicode character) when the pair has no mapping. The caller checks IsTrailByte first: a
// lead byte followed by a non-trail byte decodes as the default Unicode character for the
// lead byte alone, and the other byte is decoded on its own.
char16_t DecodeDouble(unsigned char lead, unsigned char trail, bool* defined);
// Encodes one UTF-16 code unit into out; returns 1 or 2 bytes, or 0 when it has no mapping.
int Encode(char16_t ch, unsigned char out[2]);

}  // namespace vela::cp932
