// The shell path functions and the character walk under them: separators are found by
// characters, so the second byte 0x5C of "ソ" (83 5C) or "表" (95 5C) never splits a path.
#include <shlwapi.h>
#include <winnls.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "PrivateTerminalRoot.h"

namespace {

// "ソフト" and "表" in code page 932; each ends in the byte 0x5C.
const std::string kSofuto = "\x83\x5C\x83\x74\x83\x67";
const std::string kHyou = "\x95\x5C";

std::string RemoveFileSpec(std::string path, BOOL* removed = nullptr) {
  char buffer[MAX_PATH] = {};
  path.copy(buffer, path.size());
  const BOOL result = PathRemoveFileSpecA(buffer);
  if (removed) *removed = result;
  return buffer;
}

TEST(CharNextA, StepsOverDoubleByteCharactersButNotOverTheTerminator) {
  const std::string text = kHyou + "a";
  EXPECT_EQ(CharNextA(text.c_str()), text.c_str() + 2);
  EXPECT_EQ(CharNextA(text.c_str() + 2), text.c_str() + 3);
  EXPECT_EQ(CharNextA(text.c_str() + 3), text.c_str() + 3) << "stays on the terminator";
  const char lone[] = "\x95";  // a lead byte cut off by the end
  EXPECT_EQ(CharNextA(lone), lone + 1);
  EXPECT_EQ(CharPrevA(text.c_str(), text.c_str() + 3), text.c_str() + 2);
  EXPECT_EQ(CharPrevA(text.c_str(), text.c_str() + 2), text.c_str()) << "never lands on a trail byte";
  EXPECT_EQ(CharPrevA(text.c_str(), text.c_str()), text.c_str());
}

TEST(ShellPathRemoveFileSpec, RemovesTheLastComponentAndKeepsTheRoot) {
  BOOL removed = FALSE;
  EXPECT_EQ(RemoveFileSpec("\\Kit\\Lib\\VelaSdkReg.dll", &removed), "\\Kit\\Lib");
  EXPECT_TRUE(removed);
  EXPECT_EQ(RemoveFileSpec("\\Kit\\Lib\\"), "\\Kit\\Lib");
  EXPECT_EQ(RemoveFileSpec("\\Kit"), "\\");
  EXPECT_EQ(RemoveFileSpec("\\", &removed), "\\");
  EXPECT_FALSE(removed);
  EXPECT_EQ(RemoveFileSpec("C:\\Kit"), "C:\\");
  EXPECT_EQ(RemoveFileSpec("VelaSdkReg.dll"), "");

  WCHAR wide[MAX_PATH] = u"\\開発 キット\\VelaSdkReg.dll";
  EXPECT_TRUE(PathRemoveFileSpecW(wide));
  EXPECT_EQ(std::u16string(wide), u"\\開発 キット");
}

TEST(ShellPathRemoveFileSpec, NeverSplitsADoubleByteCharacterEndingIn5C) {
  EXPECT_EQ(RemoveFileSpec("\\" + kSofuto + "\\VelaSdkReg.dll"), "\\" + kSofuto);
  EXPECT_EQ(RemoveFileSpec("\\Kit\\" + kHyou), "\\Kit");
  EXPECT_EQ(RemoveFileSpec("\\" + kHyou + "x"), "\\") << "the trail byte is no separator";
}

TEST(ShellPathCombine, JoinsWithOneSeparatorAndResolvesDots) {
  char out[MAX_PATH];
  ASSERT_NE(PathCombineA(out, "\\Kit", "Lib\\ARMV4I"), nullptr);
  EXPECT_STREQ(out, "\\Kit\\Lib\\ARMV4I");
  ASSERT_NE(PathCombineA(out, "\\Kit\\", "Include"), nullptr);
  EXPECT_STREQ(out, "\\Kit\\Include");
  ASSERT_NE(PathCombineA(out, "\\Kit\\Bin", "..\\.\\Lib"), nullptr);
  EXPECT_STREQ(out, "\\Kit\\Lib");
  ASSERT_NE(PathCombineA(out, "\\Kit", "\\Other"), nullptr);
  EXPECT_STREQ(out, "\\Other") << "a rooted file stands alone";
  // A folder ending in "ソ" ends in the byte 0x5C, yet needs its separator.
  const std::string dir = "\\" + kSofuto;
  ASSERT_NE(PathCombineA(out, dir.c_str(), "Lib"), nullptr);
  EXPECT_EQ(std::string(out), dir + "\\Lib");

  WCHAR wide[MAX_PATH];
  ASSERT_NE(PathCombineW(wide, u"\\Kit Root", u"Include"), nullptr);
  EXPECT_EQ(std::u16string(wide), u"\\Kit Root\\Include");
}

TEST(ShellPathCombine, RefusesWhatDoesNotFitAndMissingArguments) {
  char out[MAX_PATH] = "unchanged";
  const std::string longDir = "\\" + std::string(MAX_PATH - 5, 'd');
  SetLastError(0xDEADBEEF);
  EXPECT_EQ(PathCombineA(out, longDir.c_str(), "Include"), nullptr);
  EXPECT_STREQ(out, "") << "a failed join leaves an empty result, never a cut path";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_EQ(PathCombineA(out, nullptr, nullptr), nullptr);
  ASSERT_NE(PathCombineA(out, nullptr, "\\Kit"), nullptr);
  EXPECT_STREQ(out, "\\Kit");
}

TEST(ShellPathAppend, SkipsLeadingSeparatorsAndLeavesThePathWhenTooLong) {
  char path[MAX_PATH] = "\\Host\\bin";
  EXPECT_TRUE(PathAppendA(path, "\\CEAppMgr.exe"));
  EXPECT_STREQ(path, "\\Host\\bin\\CEAppMgr.exe");
  std::string full(MAX_PATH - 3, 'p');
  char longPath[MAX_PATH] = {};
  full.copy(longPath, full.size());
  EXPECT_FALSE(PathAppendA(longPath, "more"));
  EXPECT_EQ(std::string(longPath), full);
}

TEST(ShellPathFindFileName, FindsTheLastComponentByCharacters) {
  const std::string path = "\\dir\\" + kHyou + "x.ini";
  EXPECT_STREQ(PathFindFileNameA(path.c_str()), (kHyou + "x.ini").c_str());
  EXPECT_STREQ(PathFindFileNameA("\\dir\\sub\\"), "sub\\");
  EXPECT_STREQ(PathFindFileNameA("name"), "name");
  EXPECT_EQ(std::u16string(PathFindFileNameW(u"\\開発\\設定.ini")), u"設定.ini");
}

TEST(ShellPathFileExists, ReportsFilesAndFolders) {
  EXPECT_TRUE(PathFileExistsA("\\Windows"));
  EXPECT_TRUE(PathFileExistsW(u"\\Windows"));
  EXPECT_FALSE(PathFileExistsA("\\Windows\\no such file.txt"));
  EXPECT_FALSE(PathFileExistsA(nullptr));
}

}  // namespace
