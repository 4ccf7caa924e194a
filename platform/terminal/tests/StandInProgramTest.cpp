// The simulator's settings programs stand in for the terminal's own when \Windows lacks them.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <shellapi.h>
#include <winbase.h>
#include <vela/Terminal.h>

#include <PrivateTerminalRoot.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Runs the program through the shell as the device classes do and gives back what it wrote
// on its debug channel.
std::string RunStandIn(LPCWSTR file, LPCWSTR parameters) {
  const std::string log = (std::filesystem::temp_directory_path() / ("vela-standin-" + std::to_string(getpid()))).string();
  std::filesystem::remove(log);
  setenv("VELA_DEBUG", log.c_str(), 1);
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.nShow = 1;
  const BOOL started = ShellExecuteEx(&info);
  unsetenv("VELA_DEBUG");
  EXPECT_TRUE(started) << GetLastError();
  if (!started) {
    return {};
  }
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 0u);
  CloseHandle(info.hProcess);
  std::ifstream in(log);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(log);
  return text;
}

TEST(StandInProgramTest, TheControlPanelReportsThePageAskedFor) {
  EXPECT_EQ(RunStandIn(u"CTLPNL.EXE", u"\\Windows\\cplmain.cpl,10"), "CTLPNL.EXE: \\Windows\\cplmain.cpl,10\n");
}

TEST(StandInProgramTest, BacklightAndWlanProgramsAreFoundUnderTheirTerminalPaths) {
  EXPECT_EQ(RunStandIn(u"\\Windows\\Contrast.exe", nullptr), "Contrast.exe: (main page)\n");
  EXPECT_EQ(RunStandIn(u"\\windows\\LIRENT.EXE", u""), "Lirent.exe: (main page)\n");
  const auto starts = vela::terminal::Get().GetRecords().processStarts;
  ASSERT_GE(starts.size(), 2u);
  EXPECT_EQ(starts.back().imageName, u"\\windows\\LIRENT.EXE");
}

}  // namespace
