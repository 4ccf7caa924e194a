#include <afxcoll.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void* Ptr(intptr_t v) { return reinterpret_cast<void*>(v); }

std::vector<intptr_t> Values(const CPtrArray& a) {
    std::vector<intptr_t> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(reinterpret_cast<intptr_t>(a[i]));
    return v;
}

std::vector<std::u16string> Values(const CStringArray& a) {
    std::vector<std::u16string> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) v.push_back(a[i].str());
    return v;
}

std::vector<std::u16string> Forward(const CStringList& list) {
    std::vector<std::u16string> v;
    for (POSITION pos = list.GetHeadPosition(); pos;) v.push_back(list.GetNext(pos).str());
    return v;
}

std::vector<std::u16string> Backward(const CStringList& list) {
    std::vector<std::u16string> v;
    for (POSITION pos = list.GetTailPosition(); pos;) v.push_back(list.GetPrev(pos).str());
    return v;
}

TEST(PtrArray, GrowsWithNullsAndInsertsAnywhere) {
    CPtrArray a;
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_EQ(-1, a.GetUpperBound());
    EXPECT_EQ(0, a.Add(Ptr(1)));
    EXPECT_EQ(1, a.Add(Ptr(2)));
    a.SetSize(4);
    EXPECT_EQ((std::vector<intptr_t>{1, 2, 0, 0}), Values(a));
    a.SetAtGrow(6, Ptr(7));
    EXPECT_EQ((std::vector<intptr_t>{1, 2, 0, 0, 0, 0, 7}), Values(a));
    a.SetSize(2);
    a.InsertAt(1, Ptr(9), 2);
    EXPECT_EQ((std::vector<intptr_t>{1, 9, 9, 2}), Values(a));
    a.InsertAt(6, Ptr(5));  // beyond the end: grows with nulls first
    EXPECT_EQ((std::vector<intptr_t>{1, 9, 9, 2, 0, 0, 5}), Values(a));
    a.RemoveAt(1, 2);
    EXPECT_EQ((std::vector<intptr_t>{1, 2, 0, 0, 5}), Values(a));
    a.RemoveAt(3, 100);  // a count beyond the end removes up to the end
    EXPECT_EQ((std::vector<intptr_t>{1, 2, 0}), Values(a));

    EXPECT_EQ(3, a.Append(a));  // appending itself doubles it
    EXPECT_EQ((std::vector<intptr_t>{1, 2, 0, 1, 2, 0}), Values(a));
    CPtrArray b;
    b.Copy(a);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(6, b.GetCount());
    EXPECT_EQ(Ptr(2), b.GetData()[1]);
}

TEST(PtrArray, OutOfRangeIndexesTouchNothing) {
    CPtrArray a;
    a.Add(Ptr(1));
    EXPECT_EQ(nullptr, a.GetAt(1));
    EXPECT_EQ(nullptr, a.GetAt(-1));
    a.SetAt(5, Ptr(2));
    a.SetAt(-1, Ptr(2));
    a.ElementAt(3) = Ptr(4);
    a[-2] = Ptr(4);
    EXPECT_EQ(nullptr, a.ElementAt(3));  // the scratch slot does not remember
    a.SetAtGrow(-1, Ptr(3));
    a.RemoveAt(1);
    a.RemoveAt(-1);
    a.RemoveAt(0, 0);
    a.InsertAt(-1, Ptr(3));
    a.SetSize(-5);
    EXPECT_EQ((std::vector<intptr_t>{1}), Values(a));
}

TEST(StringArray, GrowsWithEmptyStringsAndCopiesArgumentsFirst) {
    CStringArray a;
    a.Add(u"zero");
    a.Add(CString(u"one"));
    a.SetSize(3);
    EXPECT_EQ((std::vector<std::u16string>{u"zero", u"one", u""}), Values(a));
    a.SetAt(2, nullptr);
    EXPECT_TRUE(a[2].IsEmpty());

    // Elements taken from the array itself while it reallocates.
    for (int i = 0; i < 20; ++i) a.Add(a[0]);
    a.SetAtGrow(100, a[1]);
    a.InsertAt(0, a[100], 3);
    EXPECT_EQ(104, a.GetSize());
    EXPECT_EQ(u"one", a[0].str());
    EXPECT_EQ(u"zero", a[3].str());
    EXPECT_EQ(u"one", a[103].str());
    EXPECT_TRUE(a[102].IsEmpty());

    a.RemoveAt(3, 200);
    EXPECT_EQ((std::vector<std::u16string>{u"one", u"one", u"one"}), Values(a));
    EXPECT_EQ(3, a.Append(a));
    EXPECT_EQ(6, a.GetCount());
}

// The text of the newest element, added again and again while the array grows well past
// any first allocation: long strings, so a stale pointer would be caught.
TEST(StringArray, AddsTheTextOfItsOwnElementsWhileGrowing) {
    const std::u16string text = u"a string longer than the string's own buffer";
    CStringArray a;
    a.Add(text.c_str());
    for (int i = 0; i < 200; ++i) a.Add(static_cast<LPCWSTR>(a[i]));
    ASSERT_EQ(201, a.GetSize());
    for (int i = 0; i <= 200; ++i) ASSERT_EQ(text, a[i].str()) << i;
}

TEST(StringArray, OutOfRangeIndexesTouchNothing) {
    CStringArray a;
    a.Add(u"x");
    EXPECT_TRUE(a.GetAt(1).IsEmpty());
    EXPECT_TRUE(a[-1].IsEmpty());
    a.SetAt(1, u"y");
    a.ElementAt(4) = u"scratch";
    EXPECT_TRUE(a.ElementAt(4).IsEmpty());
    a.RemoveAt(1);
    a.InsertAt(-2, u"y");
    EXPECT_EQ((std::vector<std::u16string>{u"x"}), Values(a));
}

TEST(StringList, InsertAndRemoveAtPositions) {
    CStringList list;
    const POSITION b = list.AddTail(u"b");
    list.AddHead(u"a");
    const POSITION d = list.AddTail(u"d");
    const POSITION c = list.InsertBefore(d, u"c");
    list.InsertAfter(d, u"e");
    list.InsertBefore(nullptr, u"head");  // null: at the head
    list.InsertAfter(nullptr, u"tail");   // null: at the tail
    EXPECT_EQ((std::vector<std::u16string>{u"head", u"a", u"b", u"c", u"d", u"e", u"tail"}), Forward(list));
    EXPECT_EQ((std::vector<std::u16string>{u"tail", u"e", u"d", u"c", u"b", u"a", u"head"}), Backward(list));

    list.RemoveAt(c);
    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    EXPECT_EQ((std::vector<std::u16string>{u"a", u"b", u"d", u"e"}), Forward(list));
    EXPECT_EQ((std::vector<std::u16string>{u"e", u"d", u"b", u"a"}), Backward(list));
    EXPECT_EQ(4, list.GetCount());

    list.SetAt(b, u"B");
    EXPECT_EQ(u"B", list.GetAt(b).str());
    EXPECT_EQ(u"a", list.RemoveHead().str());
    EXPECT_EQ(u"e", list.RemoveTail().str());
    EXPECT_EQ(u"B", list.GetHead().str());
    EXPECT_EQ(u"d", list.GetTail().str());
    list.RemoveAt(b);
    list.RemoveAt(d);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());

    // Emptied through the ends, the list links up again from scratch.
    list.AddHead(u"only");
    EXPECT_EQ((std::vector<std::u16string>{u"only"}), Backward(list));
}

TEST(StringList, FindAndFindIndex) {
    CStringList list;
    list.AddTail(u"x");
    const POSITION y = list.AddTail(u"y");
    const POSITION x2 = list.AddTail(u"x");
    EXPECT_EQ(list.GetHeadPosition(), list.Find(u"x"));
    EXPECT_EQ(x2, list.Find(u"x", list.GetHeadPosition()));
    EXPECT_EQ(nullptr, list.Find(u"x", x2));
    EXPECT_EQ(nullptr, list.Find(u"z"));
    EXPECT_EQ(y, list.FindIndex(1));
    EXPECT_EQ(nullptr, list.FindIndex(3));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
}

TEST(StringList, AddingAListIncludingItself) {
    CStringList list;
    list.AddTail(u"a");
    list.AddTail(u"b");
    CStringList other;
    other.AddTail(u"1");
    other.AddTail(u"2");
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ((std::vector<std::u16string>{u"1", u"2", u"a", u"b", u"1", u"2"}), Forward(list));
    list.AddTail(&list);
    EXPECT_EQ(12, list.GetCount());
    list.AddHead(&list);
    EXPECT_EQ(24, list.GetCount());
    const std::vector<std::u16string> all = Forward(list);
    EXPECT_EQ((std::vector<std::u16string>{u"1", u"2", u"a", u"b", u"1", u"2"}),
              std::vector<std::u16string>(all.begin(), all.begin() + 6));
    list.AddTail(static_cast<CStringList*>(nullptr));
    EXPECT_EQ(24, list.GetCount());
}

TEST(StringList, EmptyListAndNullPositionsTouchNothing) {
    CStringList list;
    EXPECT_TRUE(list.RemoveHead().IsEmpty());
    EXPECT_TRUE(list.RemoveTail().IsEmpty());
    EXPECT_TRUE(list.GetHead().IsEmpty());
    list.GetTail() = u"scratch";
    EXPECT_TRUE(list.GetTail().IsEmpty());
    POSITION none = nullptr;
    EXPECT_TRUE(list.GetNext(none).IsEmpty());
    EXPECT_EQ(nullptr, none);
    list.SetAt(nullptr, u"x");
    list.RemoveAt(nullptr);
    EXPECT_EQ(0, list.GetCount());
}

}  // namespace
