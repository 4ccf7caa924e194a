// What a started program finds in its environment: the simulator's settings it shares with
// its parent, and none of the parent's own run.
#include <gtest/gtest.h>
#include <windows.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <vela/Clock.h>
#include <vela/Terminal.h>

#include <sys/stat.h>

#include "ScopedTerminalRoot.h"

namespace {

using vela::testing::ScopedEnv;

class SimControlChildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.MakeFolder("Windows");
    root_.MakeFolder("Temp");
    vela::terminal::Get().ResetForTests();
    // Prints each variable as NAME=[value], or NAME unset.
    root_.WriteBytes("Windows/Env.exe",
                     "#!/bin/sh\n"
                     "for v in VELA_FRONTEND VELA_ZOOM VELA_KEYS VELA_SCRIPT VELA_SHOTS VELA_SCRIPT_ECHO VELA_RECORD "
                     "VELA_FINAL_SHOT VELA_CLOCK; do\n"
                     "  eval \"x=\\${$v+set}\"; if [ -n \"$x\" ]; then eval \"echo \\\"$v=[\\$$v]\\\"\"; else echo $v unset; fi\n"
                     "done > \"$VELA_ROOT/Temp/env.txt\"\n");
    chmod(root_.Host("Windows/Env.exe").c_str(), 0755);
  }
  void TearDown() override {
    vela::terminal::Get().ResetForTests();
    vela::clock::UseHost();
  }

  std::string RunChild() {
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessW(u"\\Windows\\Env.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                               &info))
        << GetLastError();
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return root_.ReadBytes("Temp/env.txt");
  }

  vela::testing::ScopedTerminalRoot root_;
};

TEST_F(SimControlChildTest, TheChildSharesTheFrontEndButNotTheParentsRun) {
  ScopedEnv frontEnd("VELA_FRONTEND", "window");
  ScopedEnv zoom("VELA_ZOOM", "3");
  ScopedEnv keys("VELA_KEYS", "/home/user/keys.txt");
  ScopedEnv script("VELA_SCRIPT", "/work/tour.script");
  ScopedEnv shots("VELA_SHOTS", "/work/shots");
  ScopedEnv echo("VELA_SCRIPT_ECHO", "1");
  ScopedEnv record("VELA_RECORD", "/work/rec.script");
  ScopedEnv finalShot("VELA_FINAL_SHOT", "/work/final.png");
  ScopedEnv clock("VELA_CLOCK", "manual");  // but this process's clock follows the host now
  EXPECT_EQ(RunChild(),
            "VELA_FRONTEND=[window]\nVELA_ZOOM=[3]\nVELA_KEYS=[/home/user/keys.txt]\nVELA_SCRIPT unset\n"
            "VELA_SHOTS unset\nVELA_SCRIPT_ECHO unset\nVELA_RECORD unset\nVELA_FINAL_SHOT unset\nVELA_CLOCK unset\n");
}

}  // namespace
