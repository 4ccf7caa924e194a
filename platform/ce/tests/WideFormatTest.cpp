#include <vela/WideFormat.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

using vela::FormatArg;
using vela::FormatWide;
using vela::FormatWideArgs;

#define EXPECT_FMT(expected, ...) EXPECT_EQ(std::u16string(expected), FormatWideArgs(__VA_ARGS__))

TEST(WideFormat, PlainTextAndPercent) {
    EXPECT_FMT(u"", u"");
    EXPECT_FMT(u"abc", u"abc");
    EXPECT_FMT(u"100%", u"100%%");
    EXPECT_EQ(u"", FormatWide(nullptr, nullptr, 0));
}

TEST(WideFormat, PatternsOfTheKit) {
    EXPECT_FMT(u"[0x00001234] not found", u"[0x%08x] %s", 0x1234, u"not found");
    EXPECT_FMT(u"[0x80070002] x", u"[0x%08x] %s", 0x80070002u, u"x");
    EXPECT_FMT(u"Open(5)", u"%s(%d)", u"Open", 5);
    EXPECT_FMT(u"2026/01/07 09:05", u"%04d/%02d/%02d %02d:%02d", 2026, 1, 7, 9, 5);
}

TEST(WideFormat, SignedWidthsFlagsAndPrecision) {
    EXPECT_FMT(u"05", u"%02d", 5);
    EXPECT_FMT(u"-5", u"%02d", -5);
    EXPECT_FMT(u"-0042", u"%05d", -42);
    EXPECT_FMT(u"   42", u"%5d", 42);
    EXPECT_FMT(u"42   |", u"%-5d|", 42);
    EXPECT_FMT(u"42   |", u"%-05d|", 42);
    EXPECT_FMT(u"+42 -42", u"%+d %+d", 42, -42);
    EXPECT_FMT(u" 42", u"% d", 42);
    EXPECT_FMT(u"007", u"%.3d", 7);
    EXPECT_FMT(u"-007", u"%.3d", -7);
    EXPECT_FMT(u"  007", u"%05.3d", 7);  // a precision turns the zero flag off
    EXPECT_FMT(u"[]", u"[%.0d]", 0);
    EXPECT_FMT(u"-2147483648", u"%d", INT_MIN);
}

TEST(WideFormat, UnsignedHexAndOctal) {
    EXPECT_FMT(u"ffffffff", u"%x", -1);
    EXPECT_FMT(u"FF", u"%X", 255);
    EXPECT_FMT(u"0xff 0XFF", u"%#x %#X", 255, 255);
    EXPECT_FMT(u"0", u"%#x", 0);
    EXPECT_FMT(u"10 010 0", u"%o %#o %#o", 8, 8, 0);
    EXPECT_FMT(u"4294967295", u"%u", -1);
    EXPECT_FMT(u"0x000000ab", u"%#010x", 0xab);
}

TEST(WideFormat, ValueIsCutToThePrefixSize) {
    const int64_t big = (int64_t{1} << 32) + 5;
    EXPECT_FMT(u"5", u"%d", big);
    EXPECT_FMT(u"4294967301", u"%I64d", big);
    EXPECT_FMT(u"4294967301", u"%lld", big);
    EXPECT_FMT(u"5", u"%I32d", big);
    EXPECT_FMT(u"-1", u"%d", int64_t{-1});
    EXPECT_FMT(u"-1", u"%d", 0xFFFFFFFFu);
    EXPECT_FMT(u"0", u"%d", INT64_MIN);
    EXPECT_FMT(u"-9223372036854775808", u"%I64d", INT64_MIN);
    EXPECT_FMT(u"18446744073709551615", u"%I64u", -1);
    EXPECT_FMT(u"-1 65535 1", u"%hd %hu %hu", 65535, -1, 65537);
    EXPECT_FMT(u"-1", u"%hhd", 255);
}

TEST(WideFormat, Strings) {
    const WCHAR* none = nullptr;
    const char* noneAnsi = nullptr;
    EXPECT_FMT(u"(null)", u"%s", none);
    EXPECT_FMT(u"(null)", u"%hs", noneAnsi);
    EXPECT_FMT(u"(nu", u"%.3s", none);
    EXPECT_FMT(u"abc abc abc abc", u"%hs %S %ls %s", "abc", "abc", u"abc", std::u16string(u"abc"));
    EXPECT_FMT(u"      text|text      |", u"%10s|%-10s|", u"text", u"text");
    EXPECT_FMT(u"000ab", u"%05s", u"ab");
    EXPECT_FMT(u"ab", u"%.2s", u"abcdef");
    EXPECT_FMT(u"   ab", u"%5.2s", u"abcdef");
    // Either prefix works with either kind of string: the argument knows its encoding.
    EXPECT_FMT(u"wide narrow", u"%hs %s", u"wide", "narrow");
}

TEST(WideFormat, PrecisionBoundsTheRead) {
    // Not terminated within the precision: nothing beyond it may be read.
    const WCHAR wide[3] = {u'x', u'y', u'z'};
    const char ansi[3] = {'x', 'y', 'z'};
    EXPECT_FMT(u"xyz", u"%.3s", wide);
    EXPECT_FMT(u"xy", u"%.2hs", ansi);
    EXPECT_FMT(u"xyz", u"%.3hs", ansi);
}

TEST(WideFormat, AnsiStringsUseTheAnsiCodePage) {
    EXPECT_FMT(u"\u3042i", u"%hs", "\x82\xa0i");
    EXPECT_FMT(u"\u3042", u"%C", "\x82\xa0");
    EXPECT_FMT(u"\uff71", u"%hc", 0xB1);  // half-width katakana A
}

TEST(WideFormat, Characters) {
    EXPECT_FMT(u"A", u"%c", u'A');
    EXPECT_FMT(u"\u3042", u"%c", u'\u3042');
    EXPECT_FMT(u"A", u"%C", 'A');
    EXPECT_FMT(u"A", u"%hc", 0x141);  // an ANSI character is one byte
    EXPECT_FMT(u"  A|A  |", u"%3c|%-3c|", u'A', u'A');
    EXPECT_FMT(u"[]", u"[%c]", 0);    // a NUL would end the text for every reader of it
}

TEST(WideFormat, Pointers) {
    const std::u16string digits(2 * sizeof(void*), u'0');
    EXPECT_FMT(digits, u"%p", nullptr);
    void* p = reinterpret_cast<void*>(static_cast<uintptr_t>(0xABCDEF12));
    EXPECT_FMT(digits.substr(8) + u"ABCDEF12", u"%p", p);
    EXPECT_FMT(digits.substr(8) + u"ABCDEF12", u"%p", 0xABCDEF12u);
    EXPECT_FMT(u"abcdef12", u"%x", p);
}

TEST(WideFormat, Floats) {
    EXPECT_FMT(u"3.14", u"%.2f", 3.14159);
    EXPECT_FMT(u"1.234568e+04 1.234568E+04", u"%e %E", 12345.678, 12345.678);
    EXPECT_FMT(u"0.0001 1E-10", u"%g %G", 0.0001, 1e-10);
    EXPECT_FMT(u"   3.142|3.14    |", u"%8.3f|%-8.2f|", 3.14159, 3.14159);
    EXPECT_FMT(u"+1.5 -0001.5", u"%+.1f %07.1f", 1.5, -1.5);
    EXPECT_FMT(u"3.00", u"%.2f", 3);  // an integer for %f is the same number
    EXPECT_FMT(u"2.", u"%#.0f", 2.0);
}

TEST(WideFormat, StarTakesIntArguments) {
    EXPECT_FMT(u"   42", u"%*d", 5, 42);
    EXPECT_FMT(u"42   |", u"%*d|", -5, 42);  // a negative width left-justifies
    EXPECT_FMT(u"ab", u"%.*s", 2, u"abcdef");
    EXPECT_FMT(u"1.500000", u"%.*f", -1, 1.5);  // a negative precision is none
    EXPECT_FMT(u"  3.1", u"%*.*f", 5, 1, 3.14);
}

TEST(WideFormat, MissingArgumentsWriteNothing) {
    EXPECT_FMT(u"1  ", u"%d %s %d", 1);
    EXPECT_FMT(u"ab", u"a%db");
    EXPECT_FMT(u"", u"%*d", 5);
    EXPECT_FMT(u"", u"%*.*d", 5, 2);
    // The count is the limit, whatever lies behind it.
    const FormatArg list[2] = {FormatArg(1), FormatArg(2)};
    EXPECT_EQ(u"1,", FormatWide(u"%d,%d", list, 1));
    EXPECT_EQ(u",", FormatWide(u"%d,%d", nullptr, 3));
}

TEST(WideFormat, ExtraArgumentsAreIgnored) {
    EXPECT_FMT(u"1", u"%d", 1, 2, u"three");
}

TEST(WideFormat, MismatchedArgumentsAreWrittenAsTheirOwnKind) {
    EXPECT_FMT(u"42 -7 3000000000", u"%s %s %s", 42, -7, 3000000000u);
    EXPECT_FMT(u"4294967301", u"%s", (int64_t{1} << 32) + 5);
    EXPECT_FMT(u"abc", u"%d", u"abc");
    EXPECT_FMT(u"   ab", u"%5x", u"ab");
    EXPECT_FMT(u"abc", u"%.1d", "abc");
    EXPECT_FMT(u"1.5", u"%s", 1.5);
    EXPECT_FMT(u"1.5", u"%d", 1.5);
    EXPECT_FMT(u"text", u"%f", u"text");
    EXPECT_FMT(u"text", u"%c", u"text");
}

TEST(WideFormat, UnknownAndIncompleteDirectivesAreCopied) {
    EXPECT_FMT(u"%y", u"%y", 1);
    EXPECT_FMT(u"%-5y 1", u"%-5y %d", 1);  // the argument stays for the next directive
    EXPECT_FMT(u"100%", u"100%");
    EXPECT_FMT(u"abc%5", u"abc%5");
    EXPECT_FMT(u"%l", u"%l", 1);
    EXPECT_FMT(u"%I6", u"%I6");
}

TEST(WideFormat, PercentNNeverWritesThroughItsArgument) {
    int count = 7;
    EXPECT_FMT(u"ab1", u"ab%n%d", &count, 1);
    EXPECT_EQ(7, count);
}

TEST(WideFormat, HugeFieldsAreClamped) {
    EXPECT_EQ(65535u, FormatWideArgs(u"%99999999999999999999d", 1).size());
    EXPECT_EQ(65535u, FormatWideArgs(u"%.99999999999999999999d", 1).size());
    EXPECT_EQ(65535u, FormatWideArgs(u"%*d", INT_MIN, 1).size());
}

// Every short format over the directive alphabet, with arguments of every kind, including
// null strings: nothing may read out of bounds (the sanitizer build checks) or hang.
TEST(WideFormat, EveryShortFormatIsSafe) {
    const char16_t alphabet[] = u"%-+ #0*.5lhI64dsxcpfgSCn%y";
    const size_t n = std::char_traits<char16_t>::length(alphabet);
    const WCHAR* nullWide = nullptr;
    const char* nullAnsi = nullptr;
    const FormatArg args[] = {FormatArg(nullWide), FormatArg(-1), FormatArg(nullAnsi), FormatArg(2.5),
                              FormatArg(nullptr), FormatArg(u"w"), FormatArg("a"), FormatArg(UINT64_MAX)};
    size_t total = 0;
    char16_t format[5] = {};
    for (size_t a = 0; a < n; ++a)
        for (size_t b = 0; b < n; ++b)
            for (size_t c = 0; c < n; ++c) {
                format[0] = alphabet[a];
                format[1] = alphabet[b];
                format[2] = alphabet[c];
                for (size_t count = 0; count <= 8; count += 4)
                    total += FormatWide(format, args, count).size();
            }
    EXPECT_GT(total, 0u);
}

}  // namespace
