#include <vela/TerminalFileSystem.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "ScopedTerminalRoot.h"

namespace {

using vela::HostPathFromTerminal;
using vela::TerminalPathFromHost;
using vela::TerminalRoot;
using vela::testing::ScopedEnv;
using vela::testing::ScopedTerminalRoot;

TEST(TerminalRootTest, FollowsVelaRootEachTimeItChanges) {
  ScopedTerminalRoot first;
  EXPECT_EQ(TerminalRoot(), first.path());
  {
    ScopedTerminalRoot second;
    EXPECT_EQ(TerminalRoot(), second.path());
    EXPECT_EQ(HostPathFromTerminal(u"\\a.txt"), second.Host("a.txt"));
  }
  EXPECT_EQ(TerminalRoot(), first.path());
}

TEST(TerminalRootTest, MissingVelaRootFolderIsCreated) {
  ScopedTerminalRoot outer;
  const std::string nested = outer.Host("not/yet/there");
  ScopedEnv env("VELA_ROOT", nested);
  EXPECT_EQ(TerminalRoot(), nested);
  EXPECT_TRUE(std::filesystem::is_directory(nested));
}

TEST(TerminalRootTest, DefaultRootIsPerUserWithWindowsAndTemp) {
  ScopedTerminalRoot data;
  ScopedEnv xdg("XDG_DATA_HOME", data.path());
  ScopedEnv root("VELA_ROOT", std::nullopt);
  EXPECT_EQ(TerminalRoot(), data.Host("vela/root"));
  EXPECT_TRUE(std::filesystem::is_directory(data.Host("vela/root/Windows")));
  EXPECT_TRUE(std::filesystem::is_directory(data.Host("vela/root/Temp")));

  ScopedEnv empty("VELA_ROOT", "");
  EXPECT_EQ(TerminalRoot(), data.Host("vela/root"));
}

// An explicit root is a terminal too: it gets \Windows and \Temp, but a folder a person
// made in another case is taken as it is rather than doubled.
TEST(TerminalRootTest, ExplicitRootGetsWindowsAndTempOnce) {
  ScopedTerminalRoot outer;
  std::filesystem::create_directories(outer.Host("term/windows"));
  ScopedEnv env("VELA_ROOT", outer.Host("term"));
  EXPECT_EQ(TerminalRoot(), outer.Host("term"));
  EXPECT_TRUE(std::filesystem::is_directory(outer.Host("term/Temp")));
  EXPECT_FALSE(std::filesystem::exists(outer.Host("term/Windows")));
  EXPECT_EQ(HostPathFromTerminal(u"\\Windows\\a.ini"), outer.Host("term/windows/a.ini"));
}

TEST(TerminalRootTest, RelativeVelaRootIsMadeAbsolute) {
  ScopedTerminalRoot outer;
  const std::string saved = std::filesystem::current_path();
  ASSERT_EQ(chdir(outer.path().c_str()), 0);
  {
    ScopedEnv env("VELA_ROOT", "./rel/../term/");
    EXPECT_EQ(TerminalRoot(), outer.Host("term"));
  }
  ASSERT_EQ(chdir(saved.c_str()), 0);
}

TEST(HostPathTest, SeparatorsDotsAndRepeats) {
  ScopedTerminalRoot root;
  root.MakeFolder("Temp");
  const std::string expected = root.Host("Temp/a.log");
  EXPECT_EQ(HostPathFromTerminal(u"\\Temp\\a.log"), expected);
  EXPECT_EQ(HostPathFromTerminal(u"/Temp/a.log"), expected);
  EXPECT_EQ(HostPathFromTerminal(u"Temp\\a.log"), expected);
  EXPECT_EQ(HostPathFromTerminal(u"\\\\Temp//\\a.log\\"), expected);
  EXPECT_EQ(HostPathFromTerminal(u"\\.\\Temp\\.\\a.log"), expected);
  EXPECT_EQ(HostPathFromTerminal(u"\\Temp\\x\\..\\a.log"), expected);
}

TEST(HostPathTest, DotDotNeverClimbsAboveTheRoot) {
  ScopedTerminalRoot root;
  EXPECT_EQ(HostPathFromTerminal(u"\\"), root.path());
  EXPECT_EQ(HostPathFromTerminal(u""), root.path());
  EXPECT_EQ(HostPathFromTerminal(u".."), root.path());
  EXPECT_EQ(HostPathFromTerminal(u"\\..\\..\\etc\\passwd"), root.Host("etc/passwd"));
  EXPECT_EQ(HostPathFromTerminal(u"a\\..\\..\\..\\b"), root.Host("b"));
}

TEST(HostPathTest, HostRootAsTerminalRoot) {
  ScopedEnv env("VELA_ROOT", "/");
  EXPECT_EQ(HostPathFromTerminal(u"\\"), "/");
  EXPECT_EQ(HostPathFromTerminal(u"\\ETC"), "/etc");
  EXPECT_EQ(TerminalPathFromHost("/etc/x"), u"\\etc\\x");
}

TEST(HostPathTest, TextAfterNulIsIgnored) {
  ScopedTerminalRoot root;
  EXPECT_EQ(HostPathFromTerminal(std::u16string_view(u"\\a\0\\..\\..\\b", 11)), root.Host("a"));
}

TEST(HostPathTest, ExistingComponentsMatchWithoutRegardToCase) {
  ScopedTerminalRoot root;
  root.MakeFolder("Windows/Start Menu");
  root.WriteBytes("Windows/MyApp.INI", "");
  EXPECT_EQ(HostPathFromTerminal(u"\\WINDOWS\\myapp.ini"), root.Host("Windows/MyApp.INI"));
  EXPECT_EQ(HostPathFromTerminal(u"\\windows\\start menu"), root.Host("Windows/Start Menu"));
  // Missing components keep their spelling, also below a folder found in another case.
  EXPECT_EQ(HostPathFromTerminal(u"\\windows\\New\\File.TXT"), root.Host("Windows/New/File.TXT"));
  EXPECT_EQ(HostPathFromTerminal(u"\\windows\\myapp.ini.bak"), root.Host("Windows/myapp.ini.bak"));
  // The way back gives the names as they are on disk.
  EXPECT_EQ(TerminalPathFromHost(HostPathFromTerminal(u"\\windows\\START MENU\\x.lnk")),
            u"\\Windows\\Start Menu\\x.lnk");
}

TEST(HostPathTest, CaseMatchingCoversLatinGreekCyrillicAndFullWidth) {
  ScopedTerminalRoot root;
  root.MakeFolder("Ünïcode_Данные_Σοφία_ÿ");
  root.MakeFolder("ＡＢＣ");
  root.MakeFolder("あいう");
  EXPECT_EQ(HostPathFromTerminal(u"\\üNÏCODE_дАННЫЕ_σΟΦΊΑ_Ÿ"), root.Host("Ünïcode_Данные_Σοφία_ÿ"));
  EXPECT_EQ(HostPathFromTerminal(u"\\ａｂｃ"), root.Host("ＡＢＣ"));
  // Hiragana and katakana are different names, not different cases.
  EXPECT_EQ(HostPathFromTerminal(u"\\アイウ"), root.Host("アイウ"));
}

TEST(HostPathTest, NamesDifferingOnlyInCaseResolveTheSameWayEveryTime) {
  ScopedTerminalRoot root;
  root.WriteBytes("a.txt", "");
  root.WriteBytes("A.TXT", "");
  EXPECT_EQ(HostPathFromTerminal(u"\\a.txt"), root.Host("a.txt"));
  EXPECT_EQ(HostPathFromTerminal(u"\\A.TXT"), root.Host("A.TXT"));
  EXPECT_EQ(HostPathFromTerminal(u"\\A.txt"), root.Host("A.TXT"));
}

TEST(TerminalPathTest, HostPathsUnderTheRoot) {
  ScopedTerminalRoot root;
  EXPECT_EQ(TerminalPathFromHost(root.Host("Temp/a.log")), u"\\Temp\\a.log");
  EXPECT_EQ(TerminalPathFromHost(root.path()), u"\\");
  EXPECT_EQ(TerminalPathFromHost(root.path() + "/"), u"\\");
  EXPECT_EQ(TerminalPathFromHost(root.Host("Windows/./x/../日本.exe")), u"\\Windows\\日本.exe");
}

TEST(TerminalPathTest, HostPathsOutsideTheRootGiveEmpty) {
  ScopedTerminalRoot root;
  EXPECT_EQ(TerminalPathFromHost("/etc/passwd"), u"");
  EXPECT_EQ(TerminalPathFromHost(""), u"");
  // A sibling whose name starts with the root's name is not inside it.
  EXPECT_EQ(TerminalPathFromHost(root.path() + "-other/a"), u"");
  EXPECT_EQ(TerminalPathFromHost(root.Host("../a")), u"");
}

TEST(TerminalPathTest, SymbolicLinkToTheRootIsRecognised) {
  const std::string elsewhere = vela::testing::MakeTempFolder();
  ScopedTerminalRoot root;
  const std::string link = elsewhere + "/link";
  std::filesystem::create_directory_symlink(root.path(), link);
  EXPECT_EQ(TerminalPathFromHost(link + "/Temp/new.log"), u"\\Temp\\new.log");
  std::filesystem::remove_all(elsewhere);
}

}  // namespace
