// The terminal's setup library as the cabinet installer calls it: files of the installation
// directory move into \Windows, replacing older copies by way of a "<name>.Vela" backup.
#include <ce_setup.h>

#include <atomic>
#include <string>

#include "SetupTestSupport.h"

namespace {

using setuptest::Exists;
using setuptest::ReadFile;
using setuptest::WriteFile;

class VelaSetupTest : public ::testing::Test {
 protected:
  VelaSetupTest()
      : m_tag(u"s" + std::u16string(1, static_cast<char16_t>(u'a' + s_counter++ % 26))),
        m_dir(u"\\Program Files\\Vela Kit " + m_tag) {}

  codeINSTALL_EXIT InstallExit(const std::u16string& dir) {
    auto* exitProc = m_library.Entry<codeINSTALL_EXIT(HWND, LPCWSTR, WORD, WORD, WORD, WORD, WORD)>(u"Install_Exit");
    return exitProc(nullptr, dir.c_str(), 0, 0, 0, 0, 0);
  }
  codeINSTALL_EXIT InstallExit() { return InstallExit(m_dir); }

  // File names unique to the test, since \Windows is shared by all of them.
  std::u16string Name(const std::u16string& base) const { return m_tag + u"_" + base; }
  std::u16string Source(const std::u16string& base) const { return m_dir + u"\\" + Name(base); }
  std::u16string InWindows(const std::u16string& base) const { return u"\\Windows\\" + Name(base); }

  static inline std::atomic<int> s_counter{0};
  std::u16string m_tag;
  std::u16string m_dir;
  setuptest::LoadedLibrary m_library{u"VelaSetup.dll"};
};

TEST_F(VelaSetupTest, MovesEveryFileIntoWindowsReplacingOlderCopies) {
  ASSERT_NE(m_library.get(), nullptr);
  WriteFile(InWindows(u"VelaSys.dll"), "old");
  WriteFile(Source(u"VelaSys.dll"), "new");
  WriteFile(Source(u"設定 ファイル.ini"), "ini");
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(ReadFile(InWindows(u"VelaSys.dll")), "new");
  EXPECT_EQ(ReadFile(InWindows(u"設定 ファイル.ini")), "ini");
  EXPECT_FALSE(Exists(InWindows(u"VelaSys.dll.Vela")));
  EXPECT_FALSE(Exists(InWindows(u"設定 ファイル.ini.Vela")));
  EXPECT_FALSE(Exists(m_dir)) << "the emptied installation directory is removed";
}

TEST_F(VelaSetupTest, AStaleBackupGivesWayToTheOlderCopy) {
  WriteFile(InWindows(u"TarnClog.dll.Vela"), "stale");
  WriteFile(InWindows(u"TarnClog.dll"), "old");
  WriteFile(Source(u"TarnClog.dll"), "new");
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(ReadFile(InWindows(u"TarnClog.dll")), "new");
  EXPECT_FALSE(Exists(InWindows(u"TarnClog.dll.Vela")));
}

TEST_F(VelaSetupTest, SubdirectoriesStayAndKeepTheInstallationDirectory) {
  WriteFile(Source(u"top.dll"), "top");
  WriteFile(m_dir + u"\\sub\\" + Name(u"inner.dll"), "inner");
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(ReadFile(InWindows(u"top.dll")), "top");
  EXPECT_FALSE(Exists(InWindows(u"inner.dll")));
  EXPECT_FALSE(Exists(u"\\Windows\\sub"));
  EXPECT_TRUE(Exists(m_dir + u"\\sub\\" + Name(u"inner.dll")));
}

TEST_F(VelaSetupTest, AMissingOrEmptyDirectoryStillFinishes) {
  EXPECT_EQ(InstallExit(u"\\Program Files\\nowhere " + m_tag), codeINSTALL_EXIT_DONE);
  ASSERT_TRUE(CreateDirectoryW(u"\\Program Files", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryW(m_dir.c_str(), nullptr));
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  EXPECT_FALSE(Exists(m_dir));
}

// A target held open cannot be moved aside; the new file then cannot take its place, and the
// older copy must stay whole (no backup is deleted that was never replaced).
TEST_F(VelaSetupTest, ALockedTargetKeepsTheOlderCopy) {
  WriteFile(InWindows(u"Locked.dll"), "old");
  WriteFile(Source(u"Locked.dll"), "new");
  HANDLE held = CreateFileW(InWindows(u"Locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  CloseHandle(held);
  EXPECT_EQ(ReadFile(InWindows(u"Locked.dll")), "old");
  EXPECT_FALSE(Exists(InWindows(u"Locked.dll.Vela")));
  EXPECT_EQ(ReadFile(Source(u"Locked.dll")), "new") << "the unmoved file stays for another try";
  EXPECT_TRUE(Exists(m_dir));
}

// The older copy has gone aside when the new file fails to move in: it comes back.
TEST_F(VelaSetupTest, ANewFileThatCannotMoveInGivesTheOlderCopyBack) {
  WriteFile(InWindows(u"Busy.dll"), "old");
  WriteFile(Source(u"Busy.dll"), "new");
  HANDLE held = CreateFileW(Source(u"Busy.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  CloseHandle(held);
  EXPECT_EQ(ReadFile(InWindows(u"Busy.dll")), "old");
  EXPECT_FALSE(Exists(InWindows(u"Busy.dll.Vela")));
}

// Paths beyond the 1024-character buffers are skipped, never cut or overrun.
TEST_F(VelaSetupTest, NamesWhosePathsWouldNotFitAreSkipped) {
  std::u16string deep = m_dir;
  while (deep.size() < 1000) deep += u"\\" + std::u16string(std::min<size_t>(200, 1000 - deep.size()), u'd');
  deep.resize(1000);
  if (deep.back() == u'\\') deep.back() = u'e';
  const std::u16string fits = Name(u"a.dll");  // 1000 + 1 + 8 characters
  const std::u16string tooLong = Name(std::u16string(30, u'n') + u".dll");
  WriteFile(deep + u"\\" + fits, "fits");
  WriteFile(deep + u"\\" + tooLong, "long");
  EXPECT_EQ(InstallExit(deep), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(ReadFile(u"\\Windows\\" + fits), "fits");
  EXPECT_FALSE(Exists(u"\\Windows\\" + tooLong));
  EXPECT_EQ(ReadFile(deep + u"\\" + tooLong), "long");
}

TEST_F(VelaSetupTest, TheOtherHooksContinueAndRemovalLeavesTheFiles) {
  WriteFile(Source(u"kept.dll"), "kept");
  auto* init = m_library.Entry<codeINSTALL_INIT(HWND, BOOL, BOOL, LPCWSTR)>(u"Install_Init");
  auto* uninit = m_library.Entry<codeUNINSTALL_INIT(HWND, LPCWSTR)>(u"Uninstall_Init");
  auto* unexit = m_library.Entry<codeUNINSTALL_EXIT(HWND)>(u"Uninstall_Exit");
  EXPECT_EQ(init(nullptr, TRUE, FALSE, m_dir.c_str()), codeINSTALL_INIT_CONTINUE);
  EXPECT_EQ(InstallExit(), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(uninit(nullptr, m_dir.c_str()), codeUNINSTALL_INIT_CONTINUE);
  EXPECT_EQ(unexit(nullptr), codeUNINSTALL_EXIT_DONE);
  EXPECT_EQ(ReadFile(InWindows(u"kept.dll")), "kept");
}

}  // namespace
