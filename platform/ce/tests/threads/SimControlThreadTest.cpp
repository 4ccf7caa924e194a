// The control listener against clients on other threads: requests at once from many, a stop
// while clients are still asking, and actions applied everywhere from two threads.
#include <gtest/gtest.h>
#include <vela/SimControl.h>
#include <vela/Terminal.h>
#include <vela/TerminalFileSystem.h>

#include <PrivateTerminalRoot.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Watchdog.h"

namespace {

using vela::test::Watchdog;

class SimControlThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vela::terminal::Get().ResetForTests();
    ASSERT_TRUE(vela::sim::StartListener());
  }
  void TearDown() override {
    vela::sim::StopListener();
    vela::terminal::Get().ResetForTests();
  }
};

TEST_F(SimControlThreadTest, ManyClientsAtOnceAreEachAnswered) {
  Watchdog dog("many control clients");
  const std::string root = vela::TerminalRoot();
  std::atomic<int> accepted{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < 6; ++c) {
    clients.emplace_back([&, c] {
      for (int i = 0; i < 10; ++i) {
        const std::string request = (i % 3 == 2) ? "state" : "battery " + std::to_string(c * 10 + i);
        for (const vela::sim::Reply& reply : vela::sim::SendToAll(root, request)) {
          if (reply.accepted) ++accepted;
        }
      }
    });
  }
  for (std::thread& t : clients) t.join();
  EXPECT_EQ(accepted.load(), 60);
  EXPECT_LE(vela::terminal::Get().Get().power.batteryPercent, 59);
}

TEST_F(SimControlThreadTest, AStopWhileClientsAskEndsCleanly) {
  Watchdog dog("a listener stopped under load");
  const std::string root = vela::TerminalRoot();
  std::atomic<bool> stop{false};
  std::thread client([&] {
    while (!stop.load()) {
      for (const vela::sim::Reply& reply : vela::sim::SendToAll(root, "signal -70")) {
        // Answered in full, or cut off by the stop: never half a reply taken for a whole one.
        if (reply.accepted) {
          EXPECT_EQ(reply.text, "ok");
        }
      }
    }
  });
  for (int round = 0; round < 20; ++round) {
    vela::sim::StopListener();
    ASSERT_TRUE(vela::sim::StartListener());
  }
  stop = true;
  client.join();
}

TEST_F(SimControlThreadTest, ActionsAppliedEverywhereFromTwoThreads) {
  Watchdog dog("actions applied everywhere at once");
  std::thread a([] {
    for (int i = 0; i < 50; ++i) EXPECT_EQ(vela::sim::ApplyEverywhere(i % 2 ? "power on" : "power off"), "");
  });
  std::thread b([] {
    for (int i = 0; i < 50; ++i) EXPECT_EQ(vela::sim::ApplyEverywhere("battery " + std::to_string(i)), "");
  });
  a.join();
  b.join();
  const vela::terminal::State state = vela::terminal::Get().Get();
  EXPECT_EQ(state.power.batteryPercent, 49);
  EXPECT_TRUE(state.power.externalPower);
}

}  // namespace
