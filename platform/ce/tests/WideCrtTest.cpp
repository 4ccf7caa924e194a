#include <wincrt.h>
#include <winnls.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <iterator>
#include <string>

namespace {

TEST(WideToIntTest, DigitsUpToTheFirstNonDigit) {
  EXPECT_EQ(_wtoi(u"12abc"), 12);
  EXPECT_EQ(_wtoi(u"abc"), 0);
  EXPECT_EQ(_wtoi(u""), 0);
  EXPECT_EQ(_wtoi(u"  -5"), -5);
  EXPECT_EQ(_wtoi(u"\t\r\n\v\f+7"), 7);
  EXPECT_EQ(_wtoi(u"- 5"), 0);
  EXPECT_EQ(_wtoi(u"+-5"), 0);
  EXPECT_EQ(_wtoi(u"007"), 7);
  EXPECT_EQ(_wtoi(u"1 2"), 1);
  // Full-width digits and the ideographic space are not part of the runtime's classes.
  EXPECT_EQ(_wtoi(u"１２"), 0);
  EXPECT_EQ(_wtoi(u"\u30001"), 0);
  EXPECT_EQ(_wtol(u" 42x"), 42L);
}

TEST(WideToIntTest, OverflowSaturatesAtTheTerminals32BitRange) {
  errno = 0;
  EXPECT_EQ(_wtoi(u"2147483647"), INT_MAX);
  EXPECT_EQ(_wtoi(u"-2147483648"), INT_MIN);
  EXPECT_EQ(errno, 0);
  EXPECT_EQ(_wtoi(u"2147483648"), INT_MAX);
  EXPECT_EQ(errno, ERANGE);
  errno = 0;
  EXPECT_EQ(_wtoi(u"-2147483649"), INT_MIN);
  EXPECT_EQ(errno, ERANGE);
  EXPECT_EQ(_wtoi(u"99999999999999999999999999999999"), INT_MAX);
  EXPECT_EQ(_wtoi(u"-99999999999999999999999999999999"), INT_MIN);
  EXPECT_EQ(_wtol(u"4294967296"), 2147483647L);
  EXPECT_EQ(_wtol(u"-4294967296"), -2147483648L);
}

TEST(WideSpaceTest, ExactlyTheSixControlAndBlankCharacters) {
  std::u16string spaces;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    if (iswspace(static_cast<WCHAR>(c))) {
      spaces += static_cast<char16_t>(c);
    }
  }
  EXPECT_EQ(spaces, u"\t\n\v\f\r ");
}

TEST(CaseMappingTest, LettersOfEachScript) {
  const struct {
    char16_t lower;
    char16_t upper;
  } pairs[] = {
      {u'z', u'Z'}, {u'þ', u'Þ'}, {u'ÿ', u'Ÿ'}, {u'ł', u'Ł'}, {u'ž', u'Ž'}, {u'ά', u'Ά'},
      {u'ώ', u'Ώ'}, {u'ω', u'Ω'}, {u'ё', u'Ё'}, {u'я', u'Я'}, {u'ӏ', u'Ӏ'}, {u'ｚ', u'Ｚ'},
  };
  for (const auto& p : pairs) {
    EXPECT_EQ(towupper(p.lower), p.upper) << static_cast<int>(p.lower);
    EXPECT_EQ(towlower(p.upper), p.lower) << static_cast<int>(p.upper);
  }
  EXPECT_EQ(towupper(u'ς'), u'Σ');
  EXPECT_EQ(towlower(u'Σ'), u'σ');
}

TEST(CaseMappingTest, CharactersWithoutAPairStay) {
  for (char16_t c : {u'ß', u'µ', u'×', u'÷', u'ı', u'İ', u'ĸ', u'ŉ', u'ſ', u'ΐ', u'ǆ', u'あ',
                     u'ア', u'ｱ', u'漢', u'１', u'@', u'[', u'`', u'{', u'\u0000', u'\uFFFF'}) {
    EXPECT_EQ(towupper(c), c) << static_cast<int>(c);
    EXPECT_EQ(towlower(c), c) << static_cast<int>(c);
  }
}

// Every mapping has a way back, and mapping twice changes nothing more: catches a table
// entry off by one anywhere in the ranges.
TEST(CaseMappingTest, MappingsAreConsistentOverTheWholeRange) {
  for (unsigned u = 0; u <= 0xFFFF; ++u) {
    const WCHAR c = static_cast<WCHAR>(u);
    const WCHAR up = towupper(c);
    const WCHAR low = towlower(c);
    EXPECT_EQ(towupper(up), up) << u;
    EXPECT_EQ(towlower(low), low) << u;
    if (up != c && c != u'ς') {
      EXPECT_EQ(towlower(up), c) << u;
    }
    if (low != c) {
      EXPECT_EQ(towupper(low), c) << u;
    }
  }
}

TEST(CaseCompareTest, IgnoresCaseAndFoldsToSmallLetters) {
  EXPECT_EQ(_wcsicmp(u"Menu.INI", u"menu.ini"), 0);
  EXPECT_EQ(_wcsicmp(u"ДАННЫЕ Ｘ", u"данные ｘ"), 0);
  EXPECT_LT(_wcsicmp(u"a", u"B"), 0);
  EXPECT_GT(_wcsicmp(u"abc", u"AB"), 0);
  EXPECT_LT(_wcsicmp(u"", u"a"), 0);
  // Small letters sort after "_" (0x5F) once folded.
  EXPECT_LT(_wcsicmp(u"_", u"A"), 0);
  // Characters above 0x7FFF compare as unsigned.
  EXPECT_GT(_wcsicmp(u"\uFF21", u"z"), 0);

  EXPECT_EQ(_wcsnicmp(u"SECTIONx", u"sectionY", 7), 0);
  EXPECT_NE(_wcsnicmp(u"SECTIONx", u"sectionY", 8), 0);
  EXPECT_EQ(_wcsnicmp(u"ab", u"AB", 10), 0);
  EXPECT_EQ(_wcsnicmp(u"x", u"y", 0), 0);
}

TEST(CaseConvertTest, InPlaceConversions) {
  WCHAR s[] = u"Path\\ÿßｂΣ日本";
  EXPECT_EQ(_wcsupr(s), s);
  EXPECT_EQ(std::u16string(s), u"PATH\\ŸßＢΣ日本");
  EXPECT_EQ(_wcslwr(s), s);
  EXPECT_EQ(std::u16string(s), u"path\\ÿßｂσ日本");

  WCHAR t[] = u"abc";
  EXPECT_EQ(CharUpperW(t), t);
  EXPECT_EQ(std::u16string(t), u"ABC");
  EXPECT_EQ(CharLowerW(t), t);
  EXPECT_EQ(std::u16string(t), u"abc");
}

TEST(CaseConvertTest, CharUpperBuffConvertsExactlyTheGivenCount) {
  WCHAR s[] = {u'a', u'\0', u'b', u'c', u'd'};
  EXPECT_EQ(CharUpperBuffW(s, 4), 4u);
  EXPECT_EQ(std::u16string(s, 5), std::u16string(u"A\0BCd", 5));
  EXPECT_EQ(CharLowerBuffW(s, 2), 2u);
  EXPECT_EQ(s[0], u'a');
  EXPECT_EQ(CharUpperBuffW(nullptr, 3), 0u);
}

TEST(CaseConvertTest, CharUpperWithACharacterInThePointer) {
  auto asPointer = [](WCHAR c) { return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c)); };
  EXPECT_EQ(CharUpperW(asPointer(u'q')), asPointer(u'Q'));
  EXPECT_EQ(CharLowerW(asPointer(u'Ж')), asPointer(u'ж'));
}

TEST(WideStringTest, CopyAndConcatenate) {
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(wcsncpy(buffer, u"ab", 5), buffer);
  EXPECT_EQ(std::u16string(buffer, 6), std::u16string(u"ab\0\0\0#", 6));
  wcsncpy(buffer, u"abcdef", 3);
  EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"abc\0", 4));  // no terminator added

  EXPECT_EQ(wcscpy(buffer, u"日本"), buffer);
  EXPECT_EQ(wcscat(buffer, u"語!"), buffer);
  EXPECT_EQ(std::u16string(buffer), u"日本語!");
  EXPECT_EQ(wcslen(buffer), 4u);
  EXPECT_EQ(wcslen(u""), 0u);
}

TEST(WideStringTest, CompareAsUnsignedUnits) {
  EXPECT_LT(wcscmp(u"ab", u"abc"), 0);
  EXPECT_GT(wcscmp(u"\uFF21", u"a"), 0);
  EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 3), 0);
  EXPECT_LT(wcsncmp(u"abcX", u"abcY", 4), 0);
  EXPECT_EQ(wcsncmp(u"ab", u"ab", 10), 0);
}

TEST(WideStringTest, Search) {
  const WCHAR* s = u"a=b=c";
  EXPECT_EQ(wcschr(s, u'='), s + 1);
  EXPECT_EQ(wcsrchr(s, u'='), s + 3);
  EXPECT_EQ(wcschr(s, u';'), nullptr);
  EXPECT_EQ(wcsrchr(s, u';'), nullptr);
  EXPECT_EQ(wcschr(s, u'\0'), s + 5);
  EXPECT_EQ(wcsrchr(s, u'\0'), s + 5);
  EXPECT_EQ(wcsstr(s, u"b=c"), s + 2);
  EXPECT_EQ(wcsstr(s, u""), s);
  EXPECT_EQ(wcsstr(s, u"c=d"), nullptr);
  const WCHAR* overlap = u"aab";
  EXPECT_EQ(wcsstr(overlap, u"ab"), overlap + 1);
}

}  // namespace
