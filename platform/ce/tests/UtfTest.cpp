// vela::Utf: the host boundary conversions never fail and never read past their input.
#include <vela/Utf.h>

#include <gtest/gtest.h>

namespace {

TEST(Utf, RoundTripsWellFormedText) {
    const std::u16string text(u"C:\\\u8868\u793A\0x\U0001F600\uFFFF", 9);
    EXPECT_EQ(text, vela::Utf8ToUtf16(vela::Utf16ToUtf8(text)));
    EXPECT_EQ("\xE8\xA1\xA8", vela::Utf16ToUtf8(u"\u8868"));
    EXPECT_EQ("", vela::Utf16ToUtf8(u""));
    EXPECT_EQ(u"", vela::Utf8ToUtf16(""));
}

TEST(Utf, IllFormedInputIsReplaced) {
    EXPECT_EQ("a\xEF\xBF\xBD\xEF\xBF\xBD" "b", vela::Utf16ToUtf8(u"a\xDE00\xD83D" u"b"));
    EXPECT_EQ("\xF0\x9F\x98\x80", vela::Utf16ToUtf8(u"\xD83D\xDE00"));
    EXPECT_EQ(u"a\uFFFD", vela::Utf8ToUtf16("a\xE8\xA1"));
    EXPECT_EQ(u"\uFFFD\uFFFD" u"b", vela::Utf8ToUtf16("\xC0\x80" "b"));
    // A view that stops inside a sequence: nothing beyond it is read.
    const char bytes[] = "\xE8\xA1\xA8";
    EXPECT_EQ(u"\uFFFD", vela::Utf8ToUtf16(std::string_view(bytes, 2)));
}

}  // namespace
