// MultiByteToWideChar: sizes, broken sequences and the ASCII look-alike trail bytes.
#include <winerror.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;

// Converts with a generous buffer; the last error is set to the marker first.
std::u16string Decode(UINT cp, DWORD flags, const std::string& bytes, int* result = nullptr) {
    WCHAR out[64] = {};
    SetLastError(kMarker);
    const int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), out, 64);
    if (result != nullptr) *result = n;
    return std::u16string(out, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TEST(MultiByteToWideChar, SizeQueryAndTerminator) {
    const char text[] = "a\x82\xA0z";  // a, hiragana a, z
    SetLastError(kMarker);
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0));  // terminator counted
    EXPECT_EQ(3, MultiByteToWideChar(CP_ACP, 0, text, 4, nullptr, 0));
    WCHAR ignored[1] = {u'x'};
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, text, -1, ignored, 0));  // buffer of size 0: a query
    EXPECT_EQ(u'x', ignored[0]);

    WCHAR out[4];
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, text, -1, out, 4));  // exact size
    EXPECT_EQ(std::u16string(u"a\u3042z", 4), std::u16string(out, 4));
    EXPECT_EQ(kMarker, GetLastError());
}

TEST(MultiByteToWideChar, TooSmallBufferFailsWithinItsSize) {
    const char text[] = "\x88\x9F\x89\x40\x8A\x40";  // three kanji
    WCHAR out[4] = {u'x', u'x', u'x', u'x'};
    SetLastError(kMarker);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, text, 6, out, 2));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(u'x', out[2]);
    EXPECT_EQ(u'x', out[3]);

    // Only the terminator missing is still too small.
    SetLastError(kMarker);
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, text, -1, out, 3));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(u'x', out[3]);
}

TEST(MultiByteToWideChar, NulInTheMiddleIsAnOrdinaryCharacter) {
    EXPECT_EQ(std::u16string(u"a\0\u3042", 3), Decode(CP_ACP, 0, std::string("a\0\x82\xA0", 4)));
    EXPECT_EQ(std::u16string(u"a\0b", 3), Decode(CP_UTF8, 0, std::string("a\0b", 3)));
}

TEST(MultiByteToWideChar, TrailBytesThatLookLikeAscii) {
    // Each of these ends in the byte of \ [ ] and must never yield that character.
    EXPECT_EQ(u"\u8868\\", Decode(CP_ACP, 0, "\x95\x5C\x5C"));  // 表 then a real backslash
    EXPECT_EQ(u"\u30BD", Decode(CP_ACP, 0, "\x83\x5C"));        // ソ
    EXPECT_EQ(u"\u30FC[", Decode(CP_ACP, 0, "\x81\x5B["));      // ー
    EXPECT_EQ(u"\u30BE]", Decode(CP_ACP, 0, "\x83\x5D]"));      // ゾ
    EXPECT_EQ(u"C:\\\u8868\\a", Decode(CP_ACP, 0, "C:\\\x95\x5C\\a"));
}

TEST(MultiByteToWideChar, SingleBytesOfThePlatform) {
    EXPECT_EQ(u"\u0080\uF8F0\uFF61\uFF9F\uF8F1\uF8F2\uF8F3", Decode(CP_ACP, MB_ERR_INVALID_CHARS, "\x80\xA0\xA1\xDF\xFD\xFE\xFF"));
    // A UTF-16 byte-order mark read as 932: what the INI reader looks for to refuse the file.
    EXPECT_EQ(u"\uF8F3\uF8F2", Decode(CP_ACP, 0, "\xFF\xFE"));
}

TEST(MultiByteToWideChar, BrokenSequencesBecomeTheDefaultCharacter) {
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"lead byte at the end", "ab\x81", u"ab\u30FB"},
        {"lead byte before a line feed", "\x82\nx", u"\u30FB\nx"},
        {"lead byte before a space", "\x82 x", u"\u30FB x"},
        {"a lead byte is a trail byte too", "\x82\x82\x82", u"\uFF42\u30FB"},
        {"lead byte before 7F", "\x82\x7F", u"\u30FB\x7F"},
        {"lead byte before FD", "\x82\xFD", u"\u30FB\uF8F1"},
        {"undefined pair takes both bytes", "\x85\x40z", u"\u30FBz"},
        {"undefined pair in NEC row 13", "\x87\x9Fz", u"\u30FBz"},
        {"past the IBM extensions", "\xFC\x4C\\", u"\u30FB\\"},
    };
    for (const Case& c : cases) {
        int result = 0;
        EXPECT_EQ(c.expected, Decode(CP_ACP, 0, c.bytes, &result)) << c.what;
        EXPECT_EQ(kMarker, GetLastError()) << c.what;
        EXPECT_EQ(0, (Decode(CP_ACP, MB_ERR_INVALID_CHARS, c.bytes, &result), result)) << c.what;
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError()) << c.what;
    }
    // The middle dot itself is a character, not an error.
    int result = 0;
    EXPECT_EQ(u"\u30FB", Decode(CP_ACP, MB_ERR_INVALID_CHARS, "\x81\x45", &result));
    EXPECT_EQ(1, result);
}

TEST(MultiByteToWideChar, LeadByteBeforeTheTerminator) {
    WCHAR out[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(3, MultiByteToWideChar(CP_ACP, 0, "a\x81", -1, out, 4));
    EXPECT_EQ(std::u16string(u"a\u30FB\0", 3), std::u16string(out, 3));
}

TEST(MultiByteToWideChar, Utf8) {
    EXPECT_EQ(u"a\u00E9\u3042\U0001F600", Decode(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"));
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string expected;
    };
    // One replacement for each maximal valid prefix, as Unicode recommends.
    const Case cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"truncated at the end", "a\xF0\x9F\x98", u"a\uFFFD"},
        {"truncated before a line feed", "\xE3\x81\n", u"\uFFFD\n"},
        {"FE and FF", "\xFE\xFF", u"\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        int result = 0;
        EXPECT_EQ(c.expected, Decode(CP_UTF8, 0, c.bytes, &result)) << c.what;
        EXPECT_EQ(kMarker, GetLastError()) << c.what;
        EXPECT_EQ(0, (Decode(CP_UTF8, MB_ERR_INVALID_CHARS, c.bytes, &result), result)) << c.what;
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), GetLastError()) << c.what;
    }
}

TEST(MultiByteToWideChar, Utf8SurrogatePairIsNeverSplit) {
    WCHAR out[2] = {u'x', u'x'};
    SetLastError(kMarker);
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x98\x80", 5, out, 2));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, nullptr, 0));
}

}  // namespace
