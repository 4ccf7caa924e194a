// Real time on the manual clock: steps fall due every 10 ms of real time, a long stall is
// forgiven rather than raced through, and taking the clock over starts at a whole second or
// keeps a manual clock that a parent program handed down.
#include <windows.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include "ClockDriver.h"

namespace {

using namespace std::chrono_literals;
using vela::window::ClockDriver;

class ClockDriverTest : public ::testing::Test {
 protected:
  ~ClockDriverTest() override { vela::clock::UseHost(); }
};

TEST_F(ClockDriverTest, StepsFollowRealTimeAndALongStallIsForgiven) {
  vela::clock::UseManual(SYSTEMTIME{2026, 12, 0, 7, 12, 0, 0, 0});
  const auto t0 = ClockDriver::RealClock::now();
  const std::uint64_t tick0 = vela::clock::Tick();
  ClockDriver driver;
  driver.Begin(t0);
  EXPECT_EQ(driver.StepsDue(t0 + 9ms), 0);
  EXPECT_EQ(driver.UntilNextStep(t0 + 4ms), 6ms);
  ASSERT_EQ(driver.StepsDue(t0 + 35ms), 3);
  for (int i = 0; i < 3; ++i) driver.Step();
  EXPECT_EQ(vela::clock::Tick() - tick0, 30u);
  EXPECT_EQ(driver.StepsDue(t0 + 35ms), 0);
  EXPECT_EQ(driver.UntilNextStep(t0 + 35ms), 5ms);

  // Ten seconds without a step: half a second is caught up, the rest dropped.
  const int due = driver.StepsDue(t0 + 10s);
  EXPECT_EQ(due, ClockDriver::kMostStepsBehind);
  for (int i = 0; i < due; ++i) driver.Step();
  EXPECT_EQ(driver.StepsDue(t0 + 10s), 0);
  EXPECT_EQ(driver.StepsDue(t0 + 10s + 10ms), 1);
  EXPECT_EQ(vela::clock::Tick() - tick0, static_cast<std::uint64_t>(30 + 10 * due));
}

TEST_F(ClockDriverTest, TakingOverStartsAtAWholeSecondOrKeepsAHandedDownClock) {
  vela::clock::UseHost();
  ClockDriver::TakeOverPlatformClock();
  EXPECT_TRUE(vela::clock::IsManual());
  EXPECT_EQ(vela::clock::UtcNow() % 1000, 0);

  const SYSTEMTIME handedDown{2026, 4, 0, 1, 9, 30, 15, 0};
  vela::clock::UseManual(handedDown);
  vela::clock::Advance(250ms);
  const auto before = vela::clock::UtcNow();
  ClockDriver::TakeOverPlatformClock();
  EXPECT_EQ(vela::clock::UtcNow(), before);
}

}  // namespace
