// vela-ctl and a terminal that spans processes: a child continues the parent's terminal and
// clock, and the command changes a running child's terminal.
#include <gtest/gtest.h>
#include <windows.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <vela/Clock.h>
#include <vela/DeviceAction.h>
#include <vela/SimControl.h>
#include <vela/Terminal.h>
#include <vela/TerminalFileSystem.h>

#include <PrivateTerminalRoot.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "ControlCommand.h"

namespace {

using vela::simctl::RunControlCommand;

struct CommandRun {
  int code = -1;
  std::string out;
  std::string err;
};

CommandRun Ctl(std::vector<std::string> arguments) {
  std::ostringstream out, err;
  CommandRun run;
  run.code = RunControlCommand(arguments, [] { return vela::TerminalRoot(); }, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

class ControlCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vela::terminal::Get().ResetForTests();
    // The probe runs as a program of the terminal, as any application would.
    const std::string program = vela::HostPathFromTerminal(u"\\Windows\\Probe.exe");
    std::ofstream(program) << "#!/bin/sh\nexec \"" VELA_CONTROL_PROBE "\" \"$@\"\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  }
  void TearDown() override {
    if (info_.hProcess) {
      TerminateProcess(info_.hProcess, 99);
      CloseHandle(info_.hProcess);
      CloseHandle(info_.hThread);
    }
    vela::terminal::Get().ResetForTests();
    vela::clock::UseHost();
  }

  bool StartProbe(std::u16string arguments) {
    return CreateProcessW(u"\\Windows\\Probe.exe", arguments.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          nullptr, &info_);
  }

  DWORD ProbeExitCode() {
    if (WaitForSingleObject(info_.hProcess, 20000) != WAIT_OBJECT_0) return 0xFFFFFFFFu;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

  // Until the probe's listener takes requests (host time, bounded: it is another process).
  bool ProbeListens() {
    for (int i = 0; i < 2000; ++i) {
      const std::vector<int> live = vela::sim::ListeningProcesses(vela::TerminalRoot());
      if (std::find(live.begin(), live.end(), static_cast<int>(info_.dwProcessId)) != live.end()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  PROCESS_INFORMATION info_{};
};

TEST_F(ControlCommandTest, AChildContinuesTheParentsTerminalAndManualClock) {
  SYSTEMTIME start{2026, 5, 0, 6, 7, 8, 9, 0};
  vela::clock::UseManual(start);
  vela::clock::Advance(std::chrono::milliseconds(500));
  vela::clock::SetUtcNow(vela::clock::UtcNow() + 1000);  // the terminal's own time counts
  for (const char* action : {"battery 20", "power on", "ime katakana", "network down", "volume in SD Card"}) {
    ASSERT_EQ(vela::device::ApplyAction(action), "") << action;
  }
  const std::string report = vela::HostPathFromTerminal(u"\\Temp\\report.txt");
  ASSERT_TRUE(StartProbe(u"report " + std::u16string(report.begin(), report.end()))) << GetLastError();
  ASSERT_EQ(ProbeExitCode(), 0u);

  std::ifstream in(report);
  std::string clockLine;
  std::getline(in, clockLine);
  const std::string stateText((std::istreambuf_iterator<char>(in)), {});
  // The child's clock starts at the parent's second.
  EXPECT_EQ(clockLine, "clock 2026-05-06T07:08:10.000 manual");
  EXPECT_EQ(stateText, vela::terminal::StateText(vela::terminal::Get().Get()));
}

TEST_F(ControlCommandTest, ACommandChangesARunningChildsTerminal) {
  ASSERT_TRUE(StartProbe(u"wait-battery 20")) << GetLastError();
  ASSERT_TRUE(ProbeListens());
  const std::string pid = std::to_string(info_.dwProcessId);

  const CommandRun list = Ctl({"list"});
  EXPECT_EQ(list.code, vela::simctl::kDone) << list.err;
  EXPECT_EQ(list.out.rfind(pid + "  ", 0), 0u) << list.out;

  const CommandRun state = Ctl({"state"});
  EXPECT_EQ(state.code, vela::simctl::kDone) << state.err;
  EXPECT_NE(state.out.find("; process " + pid + "\n[Backlight]\n"), std::string::npos) << state.out;
  EXPECT_NE(state.out.find("BatteryPercent = 100\n"), std::string::npos) << state.out;

  const CommandRun refused = Ctl({"wake"});  // the child is not suspended
  EXPECT_EQ(refused.code, vela::simctl::kRefusedOrNone);
  EXPECT_EQ(refused.out, pid + ": error: wake: the terminal is not suspended\n");

  const CommandRun battery = Ctl({"--root", vela::TerminalRoot(), "battery", "20"});
  EXPECT_EQ(battery.code, vela::simctl::kDone) << battery.err;
  EXPECT_EQ(battery.out, pid + ": ok\n");
  EXPECT_EQ(ProbeExitCode(), 0u);
  // The child took its socket along when it ended.
  EXPECT_FALSE(std::filesystem::exists(vela::TerminalRoot() + "/.vela-sim/" + pid + ".sock"));
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 100) << "only the child was asked";
}

TEST_F(ControlCommandTest, WithoutATerminalTheCommandSaysSoAndRemovesStaleSockets) {
  const std::string root = vela::TerminalRoot() + "/other";
  std::filesystem::create_directories(root + "/.vela-sim");
  std::ofstream(root + "/.vela-sim/4194304.sock") << "";  // nobody listens there
  std::ofstream(root + "/.vela-sim/notes.txt") << "";     // not a socket's name: left alone
  const CommandRun run = Ctl({"--root=" + root, "signal", "-60"});  // "-60" is a word, not an option
  EXPECT_EQ(run.code, vela::simctl::kRefusedOrNone);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vela-ctl: no program of the simulator runs under " + root + "\n");
  EXPECT_FALSE(std::filesystem::exists(root + "/.vela-sim/4194304.sock"));
  EXPECT_TRUE(std::filesystem::exists(root + "/.vela-sim/notes.txt"));
  EXPECT_EQ(Ctl({"--root", root + "/missing", "list"}).code, vela::simctl::kRefusedOrNone);
}

TEST_F(ControlCommandTest, BadUseIsToldBeforeAnyProcessIsAsked) {
  struct Case {
    std::vector<std::string> arguments;
    std::string told;
  };
  const Case cases[] = {
      {{}, "vela-ctl: say what to do\n"},
      {{"--verbose", "list"}, "vela-ctl: unknown option --verbose\n"},
      {{"--root"}, "vela-ctl: --root needs a folder\n"},
      {{"--root="}, "vela-ctl: --root needs a folder\n"},
      {{"battery", "120"}, "vela-ctl: battery: '120' is not 0 to 100 or none\n"},
      {{"reboot"}, "vela-ctl: 'reboot' is not a terminal action\n"},
  };
  for (const Case& c : cases) {
    const CommandRun run = Ctl(c.arguments);
    EXPECT_EQ(run.code, vela::simctl::kUsage) << c.told;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), c.told);
    EXPECT_NE(run.err.find("usage: vela-ctl"), std::string::npos);
  }
  const CommandRun help = Ctl({"--help"});
  EXPECT_EQ(help.code, vela::simctl::kDone);
  EXPECT_NE(help.out.find("battery PERCENT|none"), std::string::npos);
}

}  // namespace
