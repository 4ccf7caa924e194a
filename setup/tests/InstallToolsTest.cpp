// The stand-in tools run as a person runs them: the cabinet installer with the setup library,
// and the desktop's setup naming an application manager that the launcher can start.
#include <shlwapi.h>

#include <cstdlib>
#include <string>

#include "SetupTestSupport.h"

namespace {

int RunTool(const std::string& commandLine) { return std::system((commandLine + " > /dev/null 2>&1").c_str()); }

TEST(InstallTools, TheCabinetInstallerPutsTheFilesIntoWindows) {
  const std::filesystem::path cabinet = setuptest::Host(u"\\cabinet contents");
  std::filesystem::create_directories(cabinet);
  std::ofstream(cabinet / "ToolsTest.dll") << "kit";
  std::ofstream(cabinet / "ToolsTest.ini") << "ini";
  EXPECT_EQ(RunTool(std::string("'") + VELA_CABINSTALL + "' --dir '\\Program Files\\Tools Test' '" + cabinet.string() + "'"), 0);
  EXPECT_EQ(setuptest::ReadFile(u"\\Windows\\ToolsTest.dll"), "kit");
  EXPECT_EQ(setuptest::ReadFile(u"\\Windows\\ToolsTest.ini"), "ini");
  EXPECT_FALSE(setuptest::Exists(u"\\Program Files\\Tools Test"));
  EXPECT_EQ(RunTool(std::string("'") + VELA_CABINSTALL + "' --uninstall"), 0);
  EXPECT_TRUE(setuptest::Exists(u"\\Windows\\ToolsTest.dll")) << "removal leaves the moved files";
}

TEST(InstallTools, TheDesktopSetupNamesAnApplicationManagerThatExists) {
  setuptest::UseOneRootForBothSides();
  vela::SelectRegistry(vela::RegistrySide::Desktop);
  setuptest::ForgetRegistry();
  ASSERT_EQ(RunTool(std::string("'") + VELA_DESKTOP_SETUP + "'"), 0);
  vela::ForgetRegistryCacheForTests();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe", 0,
                          KEY_READ, &key),
            ERROR_SUCCESS);
  char path[MAX_PATH] = {};
  DWORD size = sizeof path;
  EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(PathFindFileNameA(path), "CEAppMgr.exe");
  EXPECT_TRUE(PathFileExistsA(path)) << path;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\DevStudio\\6.0\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories",
                          0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
  setuptest::ForgetRegistry();
  vela::SelectRegistry(vela::RegistrySide::Terminal);
}

}  // namespace
