// vela-sim: its options, the environment it plans, and the real command starting a program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "SimCommand.h"
#include "TerminalTempDir.h"

namespace {

using vela::simcmd::FrontEnd;

std::string ParseError(const std::vector<std::string>& arguments) {
  std::string error;
  EXPECT_FALSE(vela::simcmd::ParseArguments(arguments, &error).has_value());
  return error;
}

TEST(SimCommandTest, BadOptionsSayWhatIsWrong) {
  EXPECT_EQ(ParseError({"--fast", "app"}), "unknown option '--fast'");
  EXPECT_EQ(ParseError({"--root"}), "--root needs a value");
  EXPECT_EQ(ParseError({"--script", "", "app"}), "--script needs a value");
  EXPECT_EQ(ParseError({"--zoom", "5", "app"}), "--zoom: '5' is not 1, 2, 3 or 4");
  EXPECT_EQ(ParseError({"--zoom", "2x", "app"}), "--zoom: '2x' is not 1, 2, 3 or 4");
  EXPECT_EQ(ParseError({"--window", "--headless", "app"}), "--window and --headless exclude each other");
  EXPECT_EQ(ParseError({"--window", "--script", "tour.script", "app"}), "--script plays headless; leave out --window");
  EXPECT_EQ(ParseError({"--clock", "host", "app"}),
            "--clock: 'host' is neither 'manual' nor 'manual:YYYY-MM-DDTHH:MM:SS'");
  EXPECT_EQ(ParseError({"--clock", "manual:2026-02-30T00:00:00", "app"}),
            "--clock: 'manual:2026-02-30T00:00:00' is neither 'manual' nor 'manual:YYYY-MM-DDTHH:MM:SS'");
  EXPECT_EQ(ParseError({"--echo"}), "no PROGRAM given");
}

TEST(SimCommandTest, OptionsEndAtTheProgramWhoseArgumentsPassUntouched) {
  std::string error;
  const auto request = vela::simcmd::ParseArguments(
      {"--headless", "--zoom", "3", "--", "-app", "--zoom", "9", "--unknown"}, &error);
  ASSERT_TRUE(request) << error;
  EXPECT_EQ(request->frontEnd, FrontEnd::Headless);
  EXPECT_EQ(request->zoom, 3);
  EXPECT_EQ(request->program, "-app");
  EXPECT_EQ(request->arguments, (std::vector<std::string>{"--zoom", "9", "--unknown"}));
}

// A host where every path under /bin/ is a program and the terminal's root is /root.
struct FakeHost {
  std::map<std::string, std::string> environment;
  vela::simcmd::Host Host() {
    vela::simcmd::Host host;
    host.environment = [this](const std::string& name) {
      const auto it = environment.find(name);
      return it == environment.end() ? std::string() : it->second;
    };
    host.absolute = [](const std::string& path) { return path.front() == '/' ? path : "/cwd/" + path; };
    host.runnable = [](const std::string& path) { return path.rfind("/bin/", 0) == 0 || path.rfind("/r/", 0) == 0; };
    host.readable = [](const std::string& path) { return path.find("missing") == std::string::npos; };
    host.fromTerminal = [](const std::string& root, const std::string& terminal) {
      std::string path = (root.empty() ? "/default" : root) + "/";
      for (char c : terminal.substr(1)) path += c == '\\' ? '/' : c;
      return path;
    };
    return host;
  }
};

std::map<std::string, std::string> Plan(const std::vector<std::string>& arguments, FakeHost fake = {},
                                        std::string* program = nullptr) {
  std::string error;
  const auto request = vela::simcmd::ParseArguments(arguments, &error);
  EXPECT_TRUE(request) << error;
  if (!request) return {};
  const auto launch = vela::simcmd::PlanLaunch(*request, fake.Host(), &error);
  EXPECT_TRUE(launch) << error;
  if (!launch) return {};
  if (program) *program = launch->program;
  return {launch->variables.begin(), launch->variables.end()};
}

TEST(SimCommandTest, AScriptRunsHeadlessOnAManualClockAndForgetsEarlierRuns) {
  FakeHost withDisplay;
  withDisplay.environment["DISPLAY"] = ":0";
  auto variables = Plan({"--script", "tour.script", "--shots", "out", "--shot", "/tmp/end.png", "--echo", "/bin/app"},
                        withDisplay);
  EXPECT_EQ(variables["VELA_FRONTEND"], "headless");
  EXPECT_EQ(variables["VELA_CLOCK"], "manual");
  EXPECT_EQ(variables["VELA_SCRIPT"], "/cwd/tour.script");
  EXPECT_EQ(variables["VELA_SHOTS"], "/cwd/out");
  EXPECT_EQ(variables["VELA_FINAL_SHOT"], "/tmp/end.png");
  EXPECT_EQ(variables["VELA_SCRIPT_ECHO"], "1");
  // Present and empty: removed from what the shell had.
  EXPECT_EQ(variables.count("VELA_TERMINAL_STATE"), 1u);
  EXPECT_EQ(variables["VELA_TERMINAL_STATE"], "");

  variables = Plan({"--script", "t.script", "--clock", "manual:2026-05-01T09:00:00", "/bin/app"});
  EXPECT_EQ(variables["VELA_CLOCK"], "manual:2026-05-01T09:00:00");

  // No script: a window when there is a display; nothing of a scripted run is kept.
  variables = Plan({"/bin/app"}, withDisplay);
  EXPECT_EQ(variables["VELA_FRONTEND"], "window");
  EXPECT_EQ(variables.count("VELA_SCRIPT"), 1u);
  EXPECT_EQ(variables["VELA_SCRIPT"], "");
  EXPECT_EQ(variables["VELA_CLOCK"], "");
  FakeHost wayland;
  wayland.environment["WAYLAND_DISPLAY"] = "wayland-0";
  EXPECT_EQ(Plan({"/bin/app"}, wayland)["VELA_FRONTEND"], "window");
  EXPECT_EQ(Plan({"/bin/app"})["VELA_FRONTEND"], "headless");
  EXPECT_EQ(Plan({"--headless", "/bin/app"}, withDisplay)["VELA_FRONTEND"], "headless");
  EXPECT_EQ(Plan({"--window", "/bin/app"})["VELA_FRONTEND"], "window");
}

TEST(SimCommandTest, ATerminalPathIsFoundUnderTheGivenRoot) {
  std::string program;
  const auto variables = Plan({"--root", "/r", "\\Windows\\Launcher.exe", "-x"}, {}, &program);
  EXPECT_EQ(program, "/r/Windows/Launcher.exe");
  EXPECT_EQ(variables.at("VELA_ROOT"), "/r");

  std::string error;
  auto request = vela::simcmd::ParseArguments({"\\Windows\\Launcher.exe"}, &error);
  FakeHost fake;
  EXPECT_FALSE(vela::simcmd::PlanLaunch(*request, fake.Host(), &error));
  EXPECT_EQ(error, "PROGRAM: no program \\Windows\\Launcher.exe under the terminal's root");
  request = vela::simcmd::ParseArguments({"./nothing"}, &error);
  EXPECT_FALSE(vela::simcmd::PlanLaunch(*request, fake.Host(), &error));
  EXPECT_EQ(error, "PROGRAM: './nothing' is not a program file");
  request = vela::simcmd::ParseArguments({"--script", "missing.script", "/bin/app"}, &error);
  EXPECT_FALSE(vela::simcmd::PlanLaunch(*request, fake.Host(), &error));
  EXPECT_EQ(error, "--script: cannot read 'missing.script'");
}

// The real command, through a shell: its exit code, standard output and error.
struct Outcome {
  int exitCode = -1;
  std::string out, err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Outcome RunSim(const TerminalTempDir& dir, const std::string& arguments) {
  const std::filesystem::path out = dir.HostPath("out.txt"), err = dir.HostPath("err.txt"), rc = dir.HostPath("rc");
  const std::string command = "VELA_SCRIPT=/stale DISPLAY= WAYLAND_DISPLAY= '" + std::string(VELA_SIM) + "' " +
                              arguments + " >'" + out.string() + "' 2>'" + err.string() + "'; echo $? >'" +
                              rc.string() + "'";
  std::system(command.c_str());
  return Outcome{std::atoi(ReadFile(rc).c_str()), ReadFile(out), ReadFile(err)};
}

TEST(SimCommandTest, TheCommandBecomesTheProgramWithItsEnvironment) {
  TerminalTempDir dir;
  const std::filesystem::path root = dir.HostPath("root");
  std::filesystem::create_directories(root / "Windows");
  std::filesystem::copy_file(VELA_SIM_ENV_PROBE, root / "Windows" / "Probe.exe");
  std::ofstream(dir.HostPath("tour.script")) << "quit\n";

  const Outcome outcome = RunSim(dir, "--root '" + root.string() + "' --script '" +
                                          dir.HostPath("tour.script").string() +
                                          "' --zoom 3 '\\WINDOWS\\probe.exe' one 'two words'");
  EXPECT_EQ(outcome.exitCode, 7) << outcome.err;  // the program's own
  EXPECT_EQ(outcome.out, "arg=one\n"
                         "arg=two words\n"
                         "VELA_ROOT=" + root.string() + "\n"
                         "VELA_FRONTEND=headless\n"
                         "VELA_ZOOM=3\n"
                         "VELA_SCRIPT=" + dir.HostPath("tour.script").string() + "\n"
                         "VELA_CLOCK=manual\n");
}

TEST(SimCommandTest, TheCommandRefusesBadOptionsWithItsUsage) {
  TerminalTempDir dir;
  Outcome outcome = RunSim(dir, "--zoom 0 '" + std::string(VELA_SIM_ENV_PROBE) + "'");
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind("vela-sim: --zoom: '0' is not 1, 2, 3 or 4\nusage: vela-sim ", 0), 0u) << outcome.err;

  outcome = RunSim(dir, "'" + dir.HostPath("none").string() + "'");
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(outcome.err.find("is not a program file"), std::string::npos) << outcome.err;
}

}  // namespace
