// WideCharToMultiByte: the platform's choice among duplicate codes, default characters, sizes.
#include <winerror.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;

std::string Encode(UINT cp, const std::u16string& text, const char* defaultChar = nullptr, BOOL* usedDefault = nullptr) {
    char out[64] = {};
    SetLastError(kMarker);
    const int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), out, 64, defaultChar, usedDefault);
    return std::string(out, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TEST(WideCharToMultiByte, PreferredCodesOfDuplicatedCharacters) {
    struct Case {
        char16_t ch;
        const char* bytes;
    };
    const Case cases[] = {
        {0x2252, "\x81\xE0"},  // JIS X 0208 before NEC row 13 (8790)
        {0x2235, "\x81\xE6"},  // and before 879A and FA5B
        {0xFFE2, "\x81\xCA"},  // and before EEF9 and FA54
        {0x2160, "\x87\x54"},  // NEC row 13 before IBM (FA4A)
        {0x2116, "\x87\x82"},  // before FA59
        {0x3231, "\x87\x8A"},  // before FA58
        {0x2170, "\xFA\x40"},  // IBM before NEC-selected IBM (EEEF)
        {0x7E8A, "\xFA\x5C"},  // before ED40
        {0xFF07, "\xFA\x56"},  // before EEFB
        {0xFF02, "\xFA\x57"},  // before EEFC
        {0xE000, "\xF0\x40"},  // user-defined area
        {0xE757, "\xF9\xFC"},
        {0xF8F0, "\xA0"},
        {0xF8F3, "\xFF"},
        {0x0080, "\x80"},
    };
    for (const Case& c : cases) {
        BOOL usedDefault = TRUE;
        EXPECT_EQ(std::string(c.bytes), Encode(CP_ACP, std::u16string(1, c.ch), nullptr, &usedDefault)) << std::hex << static_cast<unsigned>(c.ch);
        EXPECT_EQ(FALSE, usedDefault);
    }
}

TEST(WideCharToMultiByte, TrailBytesThatLookLikeAscii) {
    EXPECT_EQ("\x95\x5C\x83\x5C\x81\x5B\x83\x5D\\", Encode(CP_ACP, u"\u8868\u30BD\u30FC\u30BE\\"));
}

TEST(WideCharToMultiByte, UnmappableCharactersTakeTheDefault) {
    BOOL usedDefault = FALSE;
    EXPECT_EQ("a?b", Encode(CP_ACP, u"a\u00E9b", nullptr, &usedDefault));
    EXPECT_EQ(TRUE, usedDefault);
    EXPECT_EQ(kMarker, GetLastError());
    EXPECT_EQ("a*b", Encode(CP_ACP, u"a\u00E9b", "*", &usedDefault));
    EXPECT_EQ("a\x81\x48" "b", Encode(CP_ACP, u"a\u00E9b", "\x81\x48", &usedDefault));  // full-width ？
    // Surrogates have no code: each unit becomes one default character.
    EXPECT_EQ("??", Encode(CP_ACP, u"\U0001F600", nullptr, &usedDefault));
    EXPECT_EQ("?", Encode(CP_ACP, u"\xDC00", nullptr, &usedDefault));
    EXPECT_EQ(TRUE, usedDefault);

    // The flag is cleared when nothing needed the default, also in a size query.
    usedDefault = TRUE;
    EXPECT_EQ(1, WideCharToMultiByte(CP_ACP, 0, u"a", 1, nullptr, 0, nullptr, &usedDefault));
    EXPECT_EQ(FALSE, usedDefault);
    EXPECT_EQ(2, WideCharToMultiByte(CP_ACP, 0, u"\u00E9", 1, nullptr, 0, "\x81\x48", &usedDefault));
    EXPECT_EQ(TRUE, usedDefault);
}

TEST(WideCharToMultiByte, SizesAndTooSmallBuffers) {
    SetLastError(kMarker);
    EXPECT_EQ(5, WideCharToMultiByte(CP_ACP, 0, u"a\u3042\uFF71", -1, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(4, WideCharToMultiByte(CP_ACP, 0, u"a\u3042\uFF71", 3, nullptr, 0, nullptr, nullptr));
    char out[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(5, WideCharToMultiByte(CP_ACP, 0, u"a\u3042\uFF71", -1, out, 5, nullptr, nullptr));
    EXPECT_EQ(std::string("a\x82\xA0\xB1\0", 5), std::string(out, 5));
    EXPECT_EQ('x', out[5]);
    EXPECT_EQ(kMarker, GetLastError());

    // Room for the lead byte only: the character is not split.
    char small[3] = {'x', 'x', 'x'};
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, u"a\u3042", 2, small, 2, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_NE('\x82', small[1]);
    EXPECT_EQ('x', small[2]);

    // A double-byte default character that does not fit.
    SetLastError(kMarker);
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, u"\u00E9", 1, small, 1, "\x81\x48", nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST(WideCharToMultiByte, NulInTheMiddleIsAnOrdinaryCharacter) {
    EXPECT_EQ(std::string("a\0\x82\xA0", 4), Encode(CP_ACP, std::u16string(u"a\0\u3042", 3)));
    EXPECT_EQ(std::string("a\0b", 3), Encode(CP_UTF8, std::u16string(u"a\0b", 3)));
}

TEST(WideCharToMultiByte, Utf8) {
    EXPECT_EQ("a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", Encode(CP_UTF8, u"a\u00E9\u3042\U0001F600"));
    EXPECT_EQ("\xEF\xBF\xBD" "a\xEF\xBF\xBD", Encode(CP_UTF8, u"\xD83D" u"a\xDE00"));  // lone surrogates
    EXPECT_EQ("\xEF\xBF\xBD", Encode(CP_UTF8, u"\xD83D"));                           // high one at the end
    EXPECT_EQ(kMarker, GetLastError());

    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, u"\U0001F600", 2, out, 3, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ('x', out[3]);
}

}  // namespace
