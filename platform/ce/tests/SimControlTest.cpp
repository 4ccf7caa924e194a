// The control listener in this process: requests through the client API and through raw
// sockets (garbage, a line too long, clients that stall or vanish), long root paths, stale
// sockets, and an action applied everywhere.
#include <gtest/gtest.h>
#include <vela/SimControl.h>
#include <vela/Terminal.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "ScopedTerminalRoot.h"
#include "threads/Watchdog.h"

namespace {

using vela::sim::Reply;

// A client socket connected to a path that fits sockaddr_un.
int ConnectTo(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ADD_FAILURE() << "cannot connect to " << path;
  }
  return fd;
}

std::string ReadToEnd(int fd) {
  std::string text;
  char buffer[512];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
  return text;
}

// A socket file with nobody listening behind it, as a killed process leaves.
void MakeStaleSocket(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
  close(fd);
}

class SimControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vela::terminal::Get().ResetForTests();
    ASSERT_TRUE(vela::sim::StartListener());
    socket_ = vela::sim::ListenerPath();
  }
  void TearDown() override {
    vela::sim::StopListener();
    vela::terminal::Get().ResetForTests();
  }

  // The one reply of this process's listener.
  Reply Ask(std::string_view request) {
    const std::vector<Reply> replies = vela::sim::SendToAll(root_.path(), request);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Reply{} : replies.front();
  }

  std::string AskRaw(std::string_view bytes) {
    const int fd = ConnectTo(socket_);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    shutdown(fd, SHUT_WR);
    std::string reply = ReadToEnd(fd);
    close(fd);
    return reply;
  }

  vela::test::Watchdog watchdog_{"a control listener test"};
  vela::testing::ScopedTerminalRoot root_;
  std::string socket_;
};

TEST_F(SimControlTest, ActionsStateAndProgramAreAnswered) {
  EXPECT_EQ(socket_, root_.path() + "/.vela-sim/" + std::to_string(getpid()) + ".sock");
  const Reply battery = Ask("battery 20");
  EXPECT_EQ(battery.processId, getpid());
  EXPECT_EQ(battery.text, "ok");
  EXPECT_TRUE(battery.accepted);
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 20);

  const Reply state = Ask("  state\r");
  EXPECT_TRUE(state.accepted);
  EXPECT_EQ(state.text, vela::terminal::StateText(vela::terminal::Get().Get()));

  const Reply program = Ask("program");
  EXPECT_TRUE(program.accepted);
  EXPECT_NE(program.text.find("platform_ce_tests"), std::string::npos) << program.text;

  const Reply refused = Ask("battery 120");
  EXPECT_FALSE(refused.accepted);
  EXPECT_EQ(refused.text, "error: battery: '120' is not 0 to 100 or none");
  EXPECT_EQ(Ask("").text, "error: no action given");
  // Two requests in one call would be two lines; they stay one request, refused as a whole.
  EXPECT_EQ(Ask("power on\npower off").text, "error: power: say 'power on' or 'power off'");
  EXPECT_FALSE(vela::terminal::Get().Get().power.externalPower);
}

TEST_F(SimControlTest, TheObserverHearsTheActionsCarriedOut) {
  std::vector<std::string> heard;  // the listener's thread is done with each before its reply
  vela::sim::SetActionObserver([&heard](std::string_view words) { heard.emplace_back(words); });
  Ask(" battery  20 ");
  Ask("state");
  Ask("battery 200");
  Ask("suspend");
  Ask("wake");
  vela::sim::SetActionObserver({});
  Ask("power on");
  EXPECT_EQ(heard, (std::vector<std::string>{"battery  20", "suspend", "wake"}));
}

TEST_F(SimControlTest, RawRequestsThatAreNotActionsGetOneErrorLine) {
  EXPECT_EQ(AskRaw("fly\x01\x1b[2J away\n"), "error: 'fly?\?[2J' is not a terminal action\n");
  EXPECT_EQ(AskRaw("network down"), "ok\n");  // ended by closing instead of a line end
  EXPECT_EQ(AskRaw("ime katakana\nbattery 5\n"), "ok\n");  // one request per connection
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 100);
  EXPECT_EQ(AskRaw(std::string("\0\xff\xfe\n", 4).c_str()), "");  // an empty C string sends nothing
  EXPECT_EQ(AskRaw(std::string("\0\xff\n", 3)), "error: '?\xff' is not a terminal action\n");
}

TEST_F(SimControlTest, ALineTooLongIsRefusedAndTheListenerGoesOn) {
  const std::string longLine(vela::sim::kMaxRequestLength + 1, 'x');
  const std::string reply = AskRaw(longLine + "\n");
  EXPECT_EQ(reply, "error: a request is one line of at most 4096 bytes\n");
  // Just at the limit it is still read as a request.
  EXPECT_EQ(AskRaw(std::string(vela::sim::kMaxRequestLength, 'y')).substr(0, 11), "error: 'yyy");
  EXPECT_EQ(Ask("battery 30").text, "ok");
}

TEST_F(SimControlTest, ClientsThatStallOrVanishDoNotStopTheOthers) {
  const int stalled = ConnectTo(socket_);
  ASSERT_EQ(write(stalled, "batt", 4), 4);  // half a line, and then nothing
  const int vanished = ConnectTo(socket_);
  ASSERT_EQ(write(vanished, "battery 10\n", 11), 11);
  close(vanished);  // gone before the answer
  const int silent = ConnectTo(socket_);
  close(silent);

  EXPECT_EQ(Ask("signal -80").text, "ok");
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 10);  // its request was still carried out
  ASSERT_EQ(write(stalled, "ery 40\n", 7), 7);
  EXPECT_EQ(ReadToEnd(stalled), "ok\n");
  close(stalled);
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 40);
}

TEST_F(SimControlTest, StopRemovesTheSocketAndAStartAfterwardsListensAgain) {
  vela::sim::StopListener();
  EXPECT_EQ(vela::sim::ListenerPath(), "");
  EXPECT_FALSE(std::filesystem::exists(socket_));
  EXPECT_TRUE(vela::sim::ListeningProcesses(root_.path()).empty());
  vela::sim::StopListener();  // a second stop is harmless
  ASSERT_TRUE(vela::sim::StartListener());
  EXPECT_TRUE(vela::sim::StartListener());  // already running
  EXPECT_EQ(vela::sim::ListeningProcesses(root_.path()), std::vector<int>{getpid()});
}

TEST_F(SimControlTest, StaleSocketsAreDeletedAndNotAnswered) {
  const std::string folder = root_.path() + "/.vela-sim/";
  MakeStaleSocket(folder + "4194304.sock");
  MakeStaleSocket(folder + "0123.sock");  // not a name of ours: left alone
  EXPECT_EQ(vela::sim::ListeningProcesses(root_.path()), std::vector<int>{getpid()});
  EXPECT_FALSE(std::filesystem::exists(folder + "4194304.sock"));
  EXPECT_TRUE(std::filesystem::exists(folder + "0123.sock"));
  MakeStaleSocket(folder + "4194305.sock");
  EXPECT_EQ(vela::sim::SendToAll(root_.path(), "battery 50").size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(folder + "4194305.sock"));
}

TEST_F(SimControlTest, ARootPathLongerThanASocketAddressStillWorks) {
  vela::sim::StopListener();
  std::string deep = root_.path();
  while (deep.size() < 200) deep += "/a-rather-long-folder-name";
  std::filesystem::create_directories(deep);
  vela::testing::ScopedEnv root("VELA_ROOT", deep);
  ASSERT_TRUE(vela::sim::StartListener());
  EXPECT_GT(vela::sim::ListenerPath().size(), sizeof(sockaddr_un::sun_path));
  EXPECT_TRUE(std::filesystem::is_socket(vela::sim::ListenerPath()));
  const std::vector<Reply> replies = vela::sim::SendToAll(deep, "battery 60");
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].text, "ok");
  vela::sim::StopListener();
  EXPECT_FALSE(std::filesystem::exists(deep + "/.vela-sim/" + std::to_string(getpid()) + ".sock"));
}

// Another process's listener, played by a thread: it answers every request with a refusal
// and remembers what it was asked.
class FakeProcess {
 public:
  FakeProcess(const std::string& path, std::string answer) : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(fd_, 4), 0);
    thread_ = std::thread([this, answer] {
      int client;
      while ((client = accept(fd_, nullptr, nullptr)) >= 0) {
        std::string request;
        char c;
        while (read(client, &c, 1) == 1 && c != '\n') request += c;
        asked_.push_back(request);
        (void)!write(client, answer.data(), answer.size());
        close(client);
      }
    });
  }
  // After the thread has ended.
  const std::vector<std::string>& Asked() {
    shutdown(fd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    return asked_;
  }
  ~FakeProcess() {
    Asked();
    close(fd_);
  }

 private:
  int fd_;
  std::thread thread_;
  std::vector<std::string> asked_;
};

TEST_F(SimControlTest, AnActionAppliedEverywhereChangesHereAndTellsTheOthers) {
  const std::string folder = root_.path() + "/.vela-sim/";
  FakeProcess refusing(folder + "4194304.sock", "error: busy\n");
  FakeProcess taking(folder + "4194305.sock", "ok\n");
  MakeStaleSocket(folder + "4194306.sock");

  EXPECT_EQ(vela::sim::ApplyEverywhere("battery 30"), "process 4194304: error: busy");
  EXPECT_EQ(vela::terminal::Get().Get().power.batteryPercent, 30);
  // Bad words are refused here and sent nowhere.
  EXPECT_EQ(vela::sim::ApplyEverywhere("battery"), "battery: '' is not 0 to 100 or none");
  EXPECT_EQ(vela::sim::ApplyEverywhere("power on"), "process 4194304: error: busy");
  EXPECT_EQ(vela::sim::ApplyEverywhere(" flip"), "");  // a key for this program alone
  EXPECT_EQ(refusing.Asked(), (std::vector<std::string>{"battery 30", "power on"}));
  EXPECT_EQ(taking.Asked(), (std::vector<std::string>{"battery 30", "power on"}));
  EXPECT_FALSE(std::filesystem::exists(folder + "4194306.sock"));
}

}  // namespace
