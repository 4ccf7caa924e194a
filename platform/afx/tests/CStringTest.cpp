#include <afx.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>


namespace {

TEST(CString, ConstructionFromEveryKindOfSource) {
    EXPECT_EQ(u"", CString(static_cast<LPCWSTR>(nullptr)).str());
    EXPECT_EQ(std::u16string(u"a\0b", 3), CString(u"a\0bc", 3).str());
    EXPECT_EQ(u"", CString(static_cast<LPCWSTR>(nullptr), 5).str());
    EXPECT_EQ(u"", CString(u"abc", -1).str());
    EXPECT_EQ(u"xxx", CString(u'x', 3).str());
    EXPECT_EQ(u"", CString(u'x', 0).str());
    EXPECT_EQ(u"", CString(u'x', -4).str());
    // ANSI text comes in through the code page, with a double-byte character.
    EXPECT_EQ(u"\u3042abc", CString("\x82\xa0" "abc").str());
    EXPECT_EQ(u"", CString(static_cast<LPCSTR>(nullptr)).str());
}

TEST(CString, TrimUsesTheWideSpaceClass) {
    CString s(u" \t\r\n\v\fabc d \t\n");
    s.Trim();
    EXPECT_EQ(u"abc d", s.str());

    CString left(u"  x  ");
    left.TrimLeft();
    EXPECT_EQ(u"x  ", left.str());
    CString right(u"  x  ");
    right.TrimRight();
    EXPECT_EQ(u"  x", right.str());

    CString allSpace(u" \t \r\n");
    allSpace.Trim();
    EXPECT_TRUE(allSpace.IsEmpty());

    // An ideographic space is not in the class.
    CString ideographic(u"\u3000abc\u3000");
    ideographic.Trim();
    EXPECT_EQ(u"\u3000abc\u3000", ideographic.str());
}

TEST(CString, TrimWithTargets) {
    CString s(u"xxyabcyx");
    s.Trim(u"xy");
    EXPECT_EQ(u"abc", s.str());
    CString c(u"--a-b--");
    c.Trim(u'-');
    EXPECT_EQ(u"a-b", c.str());
    CString none(u" a ");
    none.Trim(static_cast<LPCWSTR>(nullptr));
    EXPECT_EQ(u" a ", none.str());
    // Targets taken from the string itself stay valid while it shrinks.
    CString self(u"abcba");
    self.TrimRight(static_cast<LPCWSTR>(self) + 3);
    EXPECT_EQ(u"abc", self.str());
}

TEST(CString, LeftRightMidClampTheirArguments) {
    const CString s(u"abcdef");
    EXPECT_EQ(u"", s.Left(-1).str());
    EXPECT_EQ(u"ab", s.Left(2).str());
    EXPECT_EQ(u"abcdef", s.Left(100).str());
    EXPECT_EQ(u"", s.Right(-5).str());
    EXPECT_EQ(u"ef", s.Right(2).str());
    EXPECT_EQ(u"abcdef", s.Right(INT_MAX).str());
    EXPECT_EQ(u"abcdef", s.Mid(-3).str());
    EXPECT_EQ(u"def", s.Mid(3).str());
    EXPECT_EQ(u"", s.Mid(6).str());
    EXPECT_EQ(u"", s.Mid(100).str());
    EXPECT_EQ(u"cdef", s.Mid(2, 100).str());
    EXPECT_EQ(u"cdef", s.Mid(2, INT_MAX).str());
    EXPECT_EQ(u"", s.Mid(1, -1).str());
    EXPECT_EQ(u"", s.Mid(INT_MAX, 5).str());
    EXPECT_EQ(u"ab", s.Mid(-2, 2).str());
}

TEST(CString, FindEdgeCases) {
    const CString s(u"abcabc");
    EXPECT_EQ(2, s.Find(u'c'));
    EXPECT_EQ(5, s.Find(u'c', 3));
    EXPECT_EQ(-1, s.Find(u'z'));
    EXPECT_EQ(-1, s.Find(u'a', 6));
    EXPECT_EQ(-1, s.Find(u'a', 100));
    EXPECT_EQ(-1, s.Find(u'a', -1));
    EXPECT_EQ(3, s.Find(u"abc", 1));
    EXPECT_EQ(4, s.Find(u"bc", 2));
    EXPECT_EQ(-1, s.Find(u"abcd"));
    EXPECT_EQ(-1, s.Find(u"c", 6));
    EXPECT_EQ(2, s.Find(u"", 2));
    EXPECT_EQ(6, s.Find(u"", 6));
    EXPECT_EQ(-1, s.Find(u"", 7));
    EXPECT_EQ(-1, s.Find(static_cast<LPCWSTR>(nullptr)));
    EXPECT_EQ(5, s.ReverseFind(u'c'));
    EXPECT_EQ(-1, s.ReverseFind(u'z'));
    EXPECT_EQ(1, s.FindOneOf(u"cb"));
    EXPECT_EQ(-1, s.FindOneOf(u""));
    EXPECT_EQ(-1, s.FindOneOf(nullptr));
    EXPECT_EQ(-1, CString().Find(u'a'));
}

TEST(CString, GetBufferReleaseBufferRoundTrip) {
    CString s(u"old");
    LPWSTR buffer = s.GetBuffer(10);
    EXPECT_EQ(u'o', buffer[0]);  // the old text is kept
    std::char_traits<char16_t>::copy(buffer, u"hello", 6);
    s.ReleaseBuffer();
    EXPECT_EQ(u"hello", s.str());
    EXPECT_EQ(5, s.GetLength());

    s.GetBuffer(20);
    s.ReleaseBuffer(3);
    EXPECT_EQ(u"hel", s.str());

    // A length beyond the buffer is clamped to it.
    s.GetBuffer(4);
    s.ReleaseBuffer(1000);
    EXPECT_EQ(4, s.GetLength());

    // A buffer filled to the brim without a terminator is read no further than its end.
    CString full;
    LPWSTR p = full.GetBuffer(4);
    for (int i = 0; i < 4; ++i) p[i] = u'z';
    full.ReleaseBuffer(-1);
    EXPECT_EQ(u"zzzz", full.str());

    CString cut(u"abcdef");
    cut.GetBufferSetLength(3);
    cut.ReleaseBuffer();
    EXPECT_EQ(u"abc", cut.str());
    CString grown(u"ab");
    LPWSTR g = grown.GetBufferSetLength(4);
    g[2] = u'c';
    g[3] = u'd';
    grown.ReleaseBuffer();
    EXPECT_EQ(u"abcd", grown.str());
}

TEST(CString, IndexOutOfRangeNeverTouchesMemory) {
    CString s(u"ab");
    EXPECT_EQ(0, s.GetAt(-1));
    EXPECT_EQ(0, s.GetAt(2));
    EXPECT_EQ(0, s[100]);
    s.SetAt(2, u'x');
    s.SetAt(-1, u'x');
    EXPECT_EQ(u"ab", s.str());
    s.SetAt(1, u'x');
    EXPECT_EQ(u"ax", s.str());
}

TEST(CString, ComparisonsAndCase) {
    const CString s(u"Apple");
    EXPECT_EQ(0, s.Compare(u"Apple"));
    EXPECT_LT(s.Compare(u"apple"), 0);
    EXPECT_GT(s.Compare(u"App"), 0);
    EXPECT_GT(s.Compare(nullptr), 0);
    EXPECT_EQ(0, s.CompareNoCase(u"aPPLE"));
    EXPECT_LT(s.CompareNoCase(u"banana"), 0);
    EXPECT_GT(CString(u"\u3042").Compare(u"z"), 0);  // code unit order, unsigned

    EXPECT_TRUE(u"Apple" == s);
    EXPECT_TRUE(s < CString(u"apple"));
    EXPECT_TRUE(u"B" > s);
    EXPECT_TRUE(CString() == static_cast<LPCWSTR>(nullptr));
    EXPECT_FALSE(CString(u"a\0b", 3) == CString(u"a"));  // embedded NULs count

    CString mixed(u"MiXeD \u3042 1");
    EXPECT_EQ(u"MIXED \u3042 1", CString(mixed).MakeUpper().str());
    EXPECT_EQ(u"mixed \u3042 1", CString(mixed).MakeLower().str());
}

TEST(CString, ReverseKeepsSurrogatePairs) {
    CString s(u"ab\U0001F600c");
    s.MakeReverse();
    EXPECT_EQ(u"c\U0001F600ba", s.str());
    CString plain(u"abc");
    EXPECT_EQ(u"cba", plain.MakeReverse().str());
}

TEST(CString, ReplaceRemoveInsertDelete) {
    CString s(u"a.b.c");
    EXPECT_EQ(2, s.Replace(u'.', u'/'));
    EXPECT_EQ(u"a/b/c", s.str());
    EXPECT_EQ(0, s.Replace(u'/', u'/'));

    CString t(u"aaaa");
    EXPECT_EQ(2, t.Replace(u"aa", u"b"));
    EXPECT_EQ(u"bb", t.str());
    EXPECT_EQ(0, t.Replace(u"", u"x"));
    EXPECT_EQ(0, t.Replace(nullptr, u"x"));
    EXPECT_EQ(2, t.Replace(u"b", nullptr));
    EXPECT_TRUE(t.IsEmpty());

    // Arguments pointing into the string itself.
    CString self(u"xyxy");
    EXPECT_EQ(2, self.Replace(static_cast<LPCWSTR>(self) + 2, u"[xy]"));
    EXPECT_EQ(u"[xy][xy]", self.str());

    CString r(u"banana");
    EXPECT_EQ(3, r.Remove(u'a'));
    EXPECT_EQ(u"bnn", r.str());

    CString ins(u"ac");
    EXPECT_EQ(3, ins.Insert(1, u'b'));
    EXPECT_EQ(5, ins.Insert(100, u"de"));
    EXPECT_EQ(6, ins.Insert(-5, u'_'));
    EXPECT_EQ(u"_abcde", ins.str());
    EXPECT_EQ(6, ins.Insert(2, nullptr));

    CString del(u"abcdef");
    EXPECT_EQ(5, del.Delete(0));
    EXPECT_EQ(3, del.Delete(3, 100));
    EXPECT_EQ(u"bcd", del.str());
    EXPECT_EQ(3, del.Delete(10, 2));
    EXPECT_EQ(3, del.Delete(1, -1));
    EXPECT_EQ(2, del.Delete(-3, 1));
    EXPECT_EQ(u"cd", del.str());
}

TEST(CString, Spans) {
    const CString s(u"123abc456");
    EXPECT_EQ(u"123", s.SpanIncluding(u"0123456789").str());
    EXPECT_EQ(u"", s.SpanIncluding(u"abc").str());
    EXPECT_EQ(u"", s.SpanIncluding(nullptr).str());
    EXPECT_EQ(u"123ab", s.SpanExcluding(u"cx").str());
    EXPECT_EQ(u"123abc456", s.SpanExcluding(u"").str());
}

TEST(CString, ConcatenationAndAssignment) {
    CString s(u"ab");
    s += u'c';
    s += static_cast<LPCWSTR>(nullptr);
    s += s;
    EXPECT_EQ(u"abcabc", s.str());
    EXPECT_EQ(u"x-ab-y", (u'x' + (u"-" + CString(u"ab") + u"-") + u'y').str());
    EXPECT_EQ(u"ab", (static_cast<LPCWSTR>(nullptr) + CString(u"ab")).str());

    CString tail(u"abcdef");
    tail = static_cast<LPCWSTR>(tail) + 2;  // the source lies inside the target
    EXPECT_EQ(u"cdef", tail.str());
    tail = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(tail.IsEmpty());
}

TEST(CString, Format) {
    CString s;
    s.Format(u"[0x%08x] %s", 0x2a, u"failed");
    EXPECT_EQ(u"[0x0000002a] failed", s.str());
    s.Format(u"%s(%d)", CString(u"Start"), 3);
    EXPECT_EQ(u"Start(3)", s.str());
    s.Format(u"%02d:%02d", 7, 45);
    EXPECT_EQ(u"07:45", s.str());
    s.Format(u"%-6s|%6s|", u"ab", u"cd");
    EXPECT_EQ(u"ab    |    cd|", s.str());
    s.Format(u"%d and %s");
    EXPECT_EQ(u" and ", s.str());
    s.Format(u"%d", 1, 2, 3);
    EXPECT_EQ(u"1", s.str());
    s.Format(u"50%");
    EXPECT_EQ(u"50%", s.str());
    s.Format(nullptr);
    EXPECT_TRUE(s.IsEmpty());

    CString line(u"a");
    line.AppendFormat(u",%d", 1);
    line.AppendFormat(u",%hs", "b");
    EXPECT_EQ(u"a,1,b", line.str());
}

}  // namespace
