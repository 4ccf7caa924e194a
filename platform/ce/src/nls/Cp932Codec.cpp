// Code page 932 tables. Decoding reads a flat table indexed by lead and trail byte; the
// encoding table is derived from it at compile time, so the two can never disagree.
#include "nls/Cp932Codec.h"

#include <array>
#include <cstddef>

namespace vela::cp932 {
namespace {

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFC;
constexpr int kRowSize = kTrailLast - kTrailFirst + 1;
constexpr int kLeadCount = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

constexpr std::array<char16_t, kLeadCount * kRowSize> kDouble = {
#include "nls/Cp932Table.inc"
};

constexpr int LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1); }
constexpr unsigned char RowLead(int row) {
    return static_cast<unsigned char>(row <= 0x9F - 0x81 ? row + 0x81 : row - (0x9F - 0x81 + 1) + 0xE0);
}

constexpr bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr char16_t Single(unsigned char b) {
    if (b < 0x80) return b;
    if (b == 0x80) return 0x0080;
    if (b == 0xA0) return 0xF8F0;
    if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
    if (b >= 0xFD) return static_cast<char16_t>(0xF8F1 + (b - 0xFD));
    return kDefaultUnicodeChar;
}

// Where a character has several codes the platform prefers JIS X 0208 (and the user-defined
// area), then NEC row 13, then the IBM extensions FA-FC, and the NEC-selected IBM
// extensions ED-EE last.
constexpr int Preference(unsigned char lead) {
    if (lead == 0x87) return 1;
    if (lead >= 0xFA) return 2;
    if (lead == 0xED || lead == 0xEE) return 3;
    return 0;
}

// Single bytes are stored as they are; double bytes as lead << 8 | trail, always > 0xFF.
// 0 means "no mapping" except for U+0000 itself.
using EncodeTable = std::array<std::uint16_t, 0x10000>;

constexpr EncodeTable BuildEncodeTable() {
    EncodeTable table{};
    for (int b = 0x01; b <= 0xFF; ++b) {
        if (!IsLead(static_cast<unsigned char>(b))) table[Single(static_cast<unsigned char>(b))] = static_cast<std::uint16_t>(b);
    }
    for (int preference = 0; preference <= 3; ++preference) {
        for (int row = 0; row < kLeadCount; ++row) {
            const unsigned char lead = RowLead(row);
            if (Preference(lead) != preference) continue;
            for (int cell = 0; cell < kRowSize; ++cell) {
                const char16_t ch = kDouble[static_cast<std::size_t>(row * kRowSize + cell)];
                if (ch != 0 && table[ch] == 0) table[ch] = static_cast<std::uint16_t>(lead << 8 | (kTrailFirst + cell));
            }
        }
    }
    return table;
}

constexpr EncodeTable kEncode = BuildEncodeTable();

static_assert(kEncode[0x2252] == 0x81E0, "JIS X 0208 wins over NEC row 13");
static_assert(kEncode[0x2160] == 0x8754, "NEC row 13 wins over the IBM extensions");
static_assert(kEncode[0x2170] == 0xFA40, "IBM extensions win over the NEC-selected ones");
static_assert(kEncode[0xF8F3] == 0xFF);

}  // namespace

bool IsLeadByte(unsigned char b) { return IsLead(b); }

bool IsTrailByte(unsigned char b) { return b >= kTrailFirst && b <= kTrailLast && b != 0x7F; }

char16_t DecodeSingle(unsigned char b) { return Single(b); }

char16_t DecodeDouble(unsigned char lead, unsigned char trail, bool* defined) {
    char16_t ch = 0;
    if (IsLead(lead) && IsTrailByte(trail)) ch = kDouble[static_cast<std::size_t>(LeadRow(lead) * kRowSize + (trail - kTrailFirst))];
    if (defined != nullptr) *defined = ch != 0;
    return ch != 0 ? ch : kDefaultUnicodeChar;
}

int Encode(char16_t ch, unsigned char out[2]) {
    const std::uint16_t code = kEncode[ch];
    if (code == 0) {
        if (ch != 0) return 0;
        out[0] = 0;
        return 1;
    }
    if (code <= 0xFF) {
        out[0] = static_cast<unsigned char>(code);
        return 1;
    }
    out[0] = static_cast<unsigned char>(code >> 8);
    out[1] = static_cast<unsigned char>(code & 0xFF);
    return 2;
}

}  // namespace vela::cp932
