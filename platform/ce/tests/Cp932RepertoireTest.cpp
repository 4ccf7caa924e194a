// The whole of code page 932 against glibc's "CP932" converter, an implementation written
// apart from ours (our table comes from Python's codec), plus the round trips of our own.
#include <winerror.h>
#include <winnls.h>

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "nls/Cp932Codec.h"

namespace {

// Where glibc and the platform part ways, and why.
const std::map<unsigned, char16_t> kDecodeDifferences = {
    {0x80, 0x0080},  // glibc leaves 0x80 undefined; the platform passes it through
    {0xA0, 0xF8F0},  // glibc leaves 0xA0 undefined; the platform maps it to private use
    {0xFD, 0xF8F1},  // glibc leaves 0xFD-0xFF undefined; the platform maps them to private use
    {0xFE, 0xF8F2},
    {0xFF, 0xF8F3},
};
const std::map<char16_t, unsigned> kEncodeDifferences = {
    // The private-use single bytes above, in the other direction.
    {0x0080, 0x80}, {0xF8F0, 0xA0}, {0xF8F1, 0xFD}, {0xF8F2, 0xFE}, {0xF8F3, 0xFF},
    // glibc's one-way fallbacks for look-alikes; our encoder maps only what decodes back.
    {0x00A2, 0}, {0x00A3, 0},  // cent and pound sign -> their full-width forms 8191, 8192
    {0x00A5, 0},               // yen sign -> 5C
    {0x00AC, 0},               // not sign -> full-width 81CA
    {0x2014, 0},               // em dash -> 815C, which decodes to U+2015
    {0x2016, 0},               // double vertical line -> 8161, which decodes to U+2225
    {0x203E, 0},               // overline -> 7E
    {0x2212, 0},               // minus sign -> 817C, which decodes to U+FF0D
    {0x301C, 0},               // wave dash -> 8160, which decodes to U+FF5E
};

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (Ok()) iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The whole input converted, or nothing when iconv refuses any of it.
    std::optional<std::string> Convert(const std::string& in) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char outBuf[16];
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = outBuf;
        size_t outLeft = sizeof outBuf;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        return std::string(outBuf, outPtr);
    }

private:
    iconv_t m_cd;
};

// What glibc decodes the bytes to, when exactly one UTF-16 unit.
std::optional<char16_t> GlibcDecode(Iconv& cd, const std::string& bytes) {
    const auto out = cd.Convert(bytes);
    if (!out || out->size() != 2) return std::nullopt;
    return static_cast<char16_t>(static_cast<unsigned char>((*out)[0]) | static_cast<unsigned char>((*out)[1]) << 8);
}

// Our decoding of the bytes with MB_ERR_INVALID_CHARS, when exactly one UTF-16 unit.
std::optional<char16_t> OurDecode(const std::string& bytes) {
    WCHAR out[4] = {};
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), out, 4);
    if (n != 1) return std::nullopt;
    return out[0];
}

// Bytes as a number (lead << 8 | trail), 0 when unmappable.
unsigned OurEncode(char16_t ch) {
    char out[4] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(932, 0, &ch, 1, out, 4, nullptr, &usedDefault);
    if (usedDefault) return 0;
    unsigned code = 0;
    for (int i = 0; i < n; ++i) code = code << 8 | static_cast<unsigned char>(out[i]);
    return code;
}

unsigned GlibcEncode(Iconv& cd, char16_t ch) {
    const std::string in{static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    const auto out = cd.Convert(in);
    if (!out || out->empty()) return 0;
    unsigned code = 0;
    for (unsigned char b : *out) code = code << 8 | b;
    return code;
}

std::string Hex(unsigned v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04X", v);
    return buf;
}

TEST(Cp932Repertoire, DecodingMatchesGlibcForEverySingleByteAndEveryPair) {
    Iconv cd("UTF-16LE", "CP932");
    if (!cd.Ok()) GTEST_SKIP() << "glibc has no CP932 converter here";
    int compared = 0;
    for (unsigned b = 0; b <= 0xFF; ++b) {
        if (vela::cp932::IsLeadByte(static_cast<unsigned char>(b))) continue;
        const std::string bytes(1, static_cast<char>(b));
        const auto ours = OurDecode(bytes);
        ASSERT_TRUE(ours.has_value()) << "byte " << Hex(b);
        const auto known = kDecodeDifferences.find(b);
        if (known != kDecodeDifferences.end()) {
            EXPECT_EQ(known->second, *ours) << "byte " << Hex(b);
        } else {
            EXPECT_EQ(GlibcDecode(cd, bytes), ours) << "byte " << Hex(b);
        }
        ++compared;
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!vela::cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            // A non-trail byte makes both refuse the pair; only defined pairs give one unit.
            EXPECT_EQ(GlibcDecode(cd, bytes), OurDecode(bytes)) << "pair " << Hex(lead << 8 | trail);
            ++compared;
        }
    }
    EXPECT_EQ(256 - 60 + 60 * 256, compared);
}

TEST(Cp932Repertoire, EncodingMatchesGlibcForEveryCodeUnit) {
    Iconv cd("CP932", "UTF-16LE");
    if (!cd.Ok()) GTEST_SKIP() << "glibc has no CP932 converter here";
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const auto ch = static_cast<char16_t>(u);
        const unsigned ours = OurEncode(ch);
        const auto known = kEncodeDifferences.find(ch);
        if (known != kEncodeDifferences.end()) {
            EXPECT_EQ(known->second, ours) << "U+" << Hex(u);
        } else {
            EXPECT_EQ(GlibcEncode(cd, ch), ours) << "U+" << Hex(u);
        }
    }
}

TEST(Cp932Repertoire, EveryMappedCharacterRoundTrips) {
    int mapped = 0;
    for (unsigned u = 1; u <= 0xFFFF; ++u) {
        unsigned char bytes[2];
        const int n = vela::cp932::Encode(static_cast<char16_t>(u), bytes);
        if (n == 0) continue;
        ++mapped;
        bool defined = true;
        const char16_t back = n == 1 ? vela::cp932::DecodeSingle(bytes[0]) : vela::cp932::DecodeDouble(bytes[0], bytes[1], &defined);
        ASSERT_TRUE(defined);
        ASSERT_EQ(u, back) << "U+" << Hex(u);
        ASSERT_EQ(n == 2, vela::cp932::IsLeadByte(bytes[0])) << "U+" << Hex(u);
    }
    // Every defined pair decodes to a character whose own code decodes to it again, so the
    // duplicates (NEC row 13, the two IBM extension sets) lose nothing.
    int pairs = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            bool defined = false;
            const char16_t ch = vela::cp932::DecodeDouble(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail), &defined);
            if (!defined) continue;
            ++pairs;
            unsigned char bytes[2];
            ASSERT_EQ(2, vela::cp932::Encode(ch, bytes)) << "pair " << Hex(lead << 8 | trail);
            ASSERT_EQ(ch, vela::cp932::DecodeDouble(bytes[0], bytes[1], &defined));
        }
    }
    // JIS X 0208 6879, NEC row 13 83, NEC-selected IBM 374, IBM 388, user-defined 1880.
    EXPECT_EQ(9604, pairs);
    // Single bytes 01-7F, 80, A0, A1-DF, FD-FF; 398 of the pairs are second codes of a
    // character (the whole NEC-selected set, 9 in NEC row 13, 15 in the IBM set).
    EXPECT_EQ(127 + 2 + 63 + 3 + 9604 - 398, mapped);
}

}  // namespace
