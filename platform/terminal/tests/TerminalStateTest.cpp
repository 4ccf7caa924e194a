// Listeners, suspend and wake-up, soft reset and the reset for tests.
#include <gtest/gtest.h>
#include <vela/Clock.h>
#include <vela/Terminal.h>

#include <PrivateTerminalRoot.h>
#include <future>

namespace vela::terminal {
namespace {

using namespace std::chrono_literals;

class TerminalStateTest : public ::testing::Test {
 protected:
  void SetUp() override { Get().ResetForTests(); }
  void TearDown() override {
    Get().ResetForTests();
    clock::UseHost();
  }

  // Waits on the host clock with a bound, so a broken wake-up fails instead of hanging.
  static bool Finishes(std::future<void>& done) { return done.wait_for(10s) == std::future_status::ready; }

  static void WaitUntilSuspended() {
    for (int i = 0; i < 10000 && !Get().IsSuspended(); ++i) {
      std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(Get().IsSuspended());
  }
};

TEST_F(TerminalStateTest, ListenersHearEachChangedAreaOnceAndNothingForANoChange) {
  std::vector<Change> heard;
  ScopedListener listener([&](Change c) { heard.push_back(c); });
  Get().Update([](State& s) {
    s.backlight.battery = 1;
    s.input.imeOpen = true;
  });
  Get().Update([](State& s) { s.backlight.battery = 1; });  // the same value again
  Get().Update([](State& s) { s.network.adapters.clear(); });
  EXPECT_EQ(heard, (std::vector<Change>{Change::Backlight, Change::Input, Change::Network}));
}

TEST_F(TerminalStateTest, AListenerMayChangeTheTerminalAndUnsubscribeItself) {
  std::vector<Change> heard;
  ListenerId self = 0;
  self = Get().Subscribe([&](Change c) {
    heard.push_back(c);
    if (c == Change::Power) {
      Get().Update([](State& s) { s.backlight.battery = 0; });  // a reaction that changes more
      Get().Unsubscribe(self);
    }
  });
  ScopedListener other([&](Change c) { heard.push_back(c); });
  Get().Update([](State& s) { s.power.externalPower = true; });
  Get().Update([](State& s) { s.power.externalPower = false; });
  // self: Power, then (nested) Backlight heard by both before other hears Power; after the
  // unsubscribe only other hears.
  EXPECT_EQ(heard, (std::vector<Change>{Change::Power, Change::Backlight, Change::Backlight, Change::Power,
                                        Change::Power}));
  EXPECT_EQ(Get().Get().backlight.battery, 0u);
}

TEST_F(TerminalStateTest, SuspendBlocksUntilWakeUp) {
  std::vector<Change> heard;
  ScopedListener listener([&](Change c) { heard.push_back(c); });
  auto done = std::async(std::launch::async, [] { Get().Suspend(); });
  WaitUntilSuspended();
  EXPECT_EQ(done.wait_for(20ms), std::future_status::timeout);
  Get().WakeUp();
  ASSERT_TRUE(Finishes(done));
  EXPECT_FALSE(Get().IsSuspended());
  const Records records = Get().GetRecords();
  EXPECT_EQ(records.suspends, 1u);
  EXPECT_EQ(records.wakeUps, 1u);
  EXPECT_EQ(heard, (std::vector<Change>{Change::Suspended, Change::Resumed}));
  Get().WakeUp();  // not suspended: nothing happens
  EXPECT_EQ(Get().GetRecords().wakeUps, 1u);
}

TEST_F(TerminalStateTest, SuspendWakesByItselfOnThePlatformClock) {
  clock::UseManual(SYSTEMTIME{2026, 12, 0, 7, 9, 0, 0, 0});
  Get().Update([](State& s) { s.suspendWakesAfter = 5000ms; });
  auto done = std::async(std::launch::async, [] { Get().Suspend(); });
  WaitUntilSuspended();
  clock::Advance(4999ms);
  EXPECT_EQ(done.wait_for(20ms), std::future_status::timeout);
  clock::Advance(1ms);
  ASSERT_TRUE(Finishes(done));
  EXPECT_EQ(Get().GetRecords().wakeUps, 1u);
}

TEST_F(TerminalStateTest, AnEarlyWakeUpEndsAnAutomaticSuspendAndTwoSuspendersShareIt) {
  clock::UseManual(SYSTEMTIME{2026, 12, 0, 7, 9, 0, 0, 0});
  Get().Update([](State& s) { s.suspendWakesAfter = 60000ms; });
  auto first = std::async(std::launch::async, [] { Get().Suspend(); });
  WaitUntilSuspended();
  auto second = std::async(std::launch::async, [] { Get().Suspend(); });
  EXPECT_EQ(second.wait_for(20ms), std::future_status::timeout);
  Get().WakeUp();
  ASSERT_TRUE(Finishes(first));
  ASSERT_TRUE(Finishes(second));
  EXPECT_EQ(Get().GetRecords().suspends, 1u);
}

TEST_F(TerminalStateTest, ResetBringsBackTheDefaultsAndReleasesASuspendedThread) {
  Get().Update([](State& s) {
    s.power.batteryPercent = 3;
    s.identity.systemName = "X";
  });
  Get().SoftReset();
  ShellExecuteRequest request;
  request.file = u"a.exe";
  Get().RecordShellExecute(request);
  auto done = std::async(std::launch::async, [] { Get().Suspend(); });
  WaitUntilSuspended();
  std::vector<Change> heard;
  ScopedListener listener([&](Change c) { heard.push_back(c); });
  Get().ResetForTests();
  ASSERT_TRUE(Finishes(done));
  EXPECT_EQ(Get().Get(), State{});
  const Records records = Get().GetRecords();
  EXPECT_EQ(records.softResets, 0u);
  EXPECT_TRUE(records.shellExecutes.empty());
  EXPECT_EQ(heard, std::vector<Change>{Change::Reset});
}

}  // namespace
}  // namespace vela::terminal
