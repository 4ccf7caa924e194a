// The desktop programs' ANSI calls: message boxes on standard error when nobody watches a
// screen, and shell execution with its SE_ERR_ results.
#include <shellapi.h>
#include <windows.h>
#include <vela/DesktopSide.h>

#include <gtest/gtest.h>

#include <string>

#include "PrivateTerminalRoot.h"

namespace {

class StandardErrorBoxes : public ::testing::Test {
 protected:
  void SetUp() override { vela::ShowMessageBoxesOnStandardError(true); }
  void TearDown() override { vela::ShowMessageBoxesOnStandardError(false); }
};

TEST_F(StandardErrorBoxes, WritesCaptionAndTextAndAnswersWithTheDefaultButton) {
  ::testing::internal::CaptureStderr();
  // "起動" in code page 932, and a line break as the programs write it.
  const int answer = MessageBoxA(nullptr, "\x8B\x4E\x93\xAE\r\nline 2", "VelaDesk", MB_OK | MB_ICONSTOP);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[VelaDesk] 起動\nline 2\n");
  EXPECT_EQ(answer, IDOK);

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxW(nullptr, u"?", u"Q", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, u"?", nullptr, MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(MessageBoxW(nullptr, u"?", u"Q", MB_OKCANCEL | MB_DEFBUTTON4), IDOK) << "no fourth button";
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[Q] ?\n[Error] ?\n[Q] ?\n");
}

TEST(ShellExecuteA, AMissingProgramGivesFileNotFound) {
  SetLastError(0xDEADBEEF);
  HINSTANCE result = ShellExecuteA(nullptr, nullptr, "\\Program Files\\none\\CEAppMgr.exe", "\"a b.ini\"", nullptr,
                                   SW_SHOW);
  EXPECT_LE(reinterpret_cast<UINT_PTR>(result), 32u);
  EXPECT_TRUE(GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND) << GetLastError();
}

}  // namespace
