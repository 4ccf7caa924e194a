// Toggle and cycle keys become explicit action words from the terminal's state, and following
// the words from any state walks the whole cycle.
#include <vela/DeviceAction.h>
#include <vela/Terminal.h>

#include <gtest/gtest.h>

#include <set>

#include "SwitchWords.h"
#include "TerminalTempDir.h"

namespace {

using vela::terminal::State;
using vela::window::Switch;
using vela::window::SwitchWords;

// Each press works the words out from the process's terminal and carries them out, so a
// cycle is walked as a person walks it.
class CycleTest : public ::testing::Test {
 protected:
  void TearDown() override { vela::terminal::Get().ResetForTests(); }

  TerminalTempDir root_;  // the terminal's files stay out of the user's own folders

  std::string Press(Switch what) {
    const std::string words = SwitchWords(what, vela::terminal::Get().Get(), vela::terminal::Get().IsSuspended());
    EXPECT_EQ(vela::device::CheckAction(words), "") << words;
    EXPECT_EQ(vela::device::ApplyAction(words), "") << words;
    return words;
  }
};

TEST_F(CycleTest, TogglesFollowTheState) {
  EXPECT_EQ(Press(Switch::Power), "power on");
  EXPECT_EQ(Press(Switch::Power), "power off");
  EXPECT_EQ(Press(Switch::Network), "network down");
  EXPECT_EQ(Press(Switch::Network), "network up");
  EXPECT_EQ(Press(Switch::Volume), "volume in Storage Card");
  EXPECT_EQ(Press(Switch::Volume), "volume out Storage Card");
  EXPECT_EQ(Press(Switch::Suspend), "suspend");
  EXPECT_EQ(Press(Switch::Suspend), "wake");
}

TEST_F(CycleTest, CyclesVisitEveryStepAndComeBack) {
  const auto walk = [&](Switch what, int presses) {
    std::vector<std::string> seen;
    for (int i = 0; i < presses; ++i) seen.push_back(Press(what));
    return seen;
  };
  EXPECT_EQ(walk(Switch::Ime, 6), (std::vector<std::string>{"ime hiragana", "ime katakana", "ime alpha",
                                                             "ime halfkana", "ime off", "ime hiragana"}));
  // The default adapter's fair signal (-60) counts as weak.
  EXPECT_EQ(walk(Switch::Signal, 4), (std::vector<std::string>{"signal none", "signal -30", "signal -85", "signal none"}));
  const auto modes = walk(Switch::KeyMode, 7);
  EXPECT_EQ(modes.front(), "keymode 2");
  EXPECT_EQ(modes[5], "keymode 0");  // after 10 comes 0 again
  EXPECT_EQ(std::set<std::string>(modes.begin(), modes.end()).size(), 6u);
}

TEST_F(CycleTest, BatteryStepsCrossEveryLevelAndStopAtTheEnds) {
  std::vector<std::string> down;
  for (int i = 0; i < 9; ++i) down.push_back(Press(Switch::LowerBattery));
  EXPECT_EQ(down, (std::vector<std::string>{"battery 80", "battery 60", "battery 40", "battery 20", "battery 10",
                                            "battery 5", "battery 0", "battery 0", "battery 0"}));
  EXPECT_EQ(Press(Switch::RaiseBattery), "battery 5");
  // Between two steps, up goes to the next one above; no battery gets a full one.
  EXPECT_EQ(vela::device::ApplyAction("battery 33"), "");
  EXPECT_EQ(Press(Switch::RaiseBattery), "battery 40");
  EXPECT_EQ(vela::device::ApplyAction("battery none"), "");
  EXPECT_EQ(Press(Switch::RaiseBattery), "battery 100");
}

}  // namespace
