// The list rules on their own: whole entries between semicolons, equal without regard to case,
// and an add undone exactly by a remove.
#include <gtest/gtest.h>

#include <string>

#include "DirectoryList.h"

namespace {

using velasdkreg::AddToList;
using velasdkreg::RemoveFromList;

TEST(DirectoryList, AddAndRemoveGiveBackEveryKindOfList) {
  const std::u16string entry = u"\\Kit\\Include";
  for (const std::u16string& original : {std::u16string(), std::u16string(u"C:\\A"), std::u16string(u"C:\\A;C:\\B;"),
                                         std::u16string(u";;"), std::u16string(u"\\Kit\\Include2;\\Kit\\Includ")}) {
    std::u16string list = original;
    ASSERT_TRUE(AddToList(list, entry));
    EXPECT_EQ(list, entry + u";" + original);
    ASSERT_TRUE(RemoveFromList(list, entry));
    EXPECT_EQ(list, original);
  }
}

TEST(DirectoryList, OnlyWholeEntriesCount) {
  std::u16string list = u"\\Kit\\Include2;X\\Kit\\Include";
  EXPECT_FALSE(RemoveFromList(list, u"\\Kit\\Include"));
  EXPECT_EQ(list, u"\\Kit\\Include2;X\\Kit\\Include");
  list = u"C:\\A;\\KIT\\include";
  EXPECT_FALSE(AddToList(list, u"\\Kit\\Include")) << "equal without regard to case";
  EXPECT_TRUE(RemoveFromList(list, u"\\Kit\\Include"));
  EXPECT_EQ(list, u"C:\\A");
  list = u"\\Kit\\Include";
  EXPECT_TRUE(RemoveFromList(list, u"\\kit\\INCLUDE"));
  EXPECT_EQ(list, u"");
  list = u"A;\\Kit;B;\\Kit";
  EXPECT_TRUE(RemoveFromList(list, u"\\Kit"));
  EXPECT_EQ(list, u"A;B;\\Kit") << "the first equal entry only";
}

TEST(DirectoryList, AnsiEntriesFoldCaseOnCharactersOnly) {
  // "ア" is 83 41 and "ヂ" is 83 61: folding the second byte would make them one.
  std::string list = "\\\x83\x41";
  EXPECT_TRUE(AddToList(list, "\\\x83\x61"));
  EXPECT_EQ(list, "\\\x83\x61;\\\x83\x41");
  EXPECT_FALSE(AddToList(list, "\\\x83\x41"));
  list = "C:\\VC98\\LIB;D:\\x";
  EXPECT_TRUE(RemoveFromList(list, "c:\\vc98\\lib"));
  EXPECT_EQ(list, "D:\\x");
}

}  // namespace
