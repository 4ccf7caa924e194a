// Bindings files: good lines change what a key does, every bad line is named by file and line
// and then nothing changes; keys without a binding reach the terminal when they are its keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "KeyBindings.h"
#include "WindowTestSupport.h"

namespace {

using vela::window::KeyBindings;
using vela::window::KeyChord;
using vela::window::Switch;
using vela::window::WindowCommand;
using Kind = WindowCommand::Kind;

class KeyBindingsTest : public ::testing::Test {
 protected:
  vela::window::test::DummyVideo video_;
};

TEST_F(KeyBindingsTest, DefaultsCoverEverySimulatorActionAndLeaveTerminalKeysAlone) {
  const KeyBindings bindings = KeyBindings::Defaults();
  const auto kind = [&](KeyChord chord) { return bindings.Lookup(chord)->kind; };
  EXPECT_EQ(kind({SDLK_F1}), Kind::Help);
  EXPECT_EQ(kind({SDLK_F2}), Kind::Flip);
  EXPECT_EQ(kind({SDLK_F12}), Kind::Shot);
  EXPECT_EQ(kind({SDLK_r, true, false}), Kind::Record);
  EXPECT_EQ(kind({SDLK_q, true, false}), Kind::Quit);
  std::vector<Switch> switches;
  for (const auto& [chord, command] : bindings.Listing()) {
    if (command.kind == Kind::Switch) switches.push_back(command.what);
  }
  for (Switch what : {Switch::Power, Switch::Network, Switch::Suspend, Switch::Volume, Switch::Signal, Switch::Ime,
                      Switch::KeyMode, Switch::LowerBattery, Switch::RaiseBattery}) {
    EXPECT_NE(std::count(switches.begin(), switches.end(), what), 0) << static_cast<int>(what);
  }
  // Without Ctrl, R is the terminal's R; Enter, arrows, digits and keypad digits are its own.
  EXPECT_EQ(bindings.Lookup({SDLK_r})->virtualKey, 'R');
  EXPECT_EQ(bindings.Lookup({SDLK_RETURN})->virtualKey, VK_RETURN);
  EXPECT_EQ(bindings.Lookup({SDLK_KP_ENTER})->virtualKey, VK_RETURN);
  EXPECT_EQ(bindings.Lookup({SDLK_LEFT})->virtualKey, VK_LEFT);
  EXPECT_EQ(bindings.Lookup({SDLK_KP_0})->virtualKey, '0');
  EXPECT_EQ(bindings.Lookup({SDLK_9, false, true})->virtualKey, '9');
  EXPECT_EQ(bindings.Lookup({SDLK_F13})->virtualKey, VK_F13);
  EXPECT_FALSE(bindings.Lookup({SDLK_LALT}).has_value());
}

TEST_F(KeyBindingsTest, AFileRebindsUnbindsAndAddsKeys) {
  KeyBindings bindings = KeyBindings::Defaults();
  const auto errors = bindings.Apply(
      "\xEF\xBB\xBF# my keys\r\n"
      "\n"
      "F1 = key F1\r\n"
      "  ctrl+shift+h   =   help  \n"
      "F12 = none\n"
      "PageUp = battery 15\n"
      "P = volume in Storage Card\n"
      "Ctrl+Return = key   0x2A\n"
      "= = toggle power\n"
      "Shift+F5 = raise battery",
      "keys.txt");
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(bindings.Lookup({SDLK_F1})->virtualKey, VK_F1);
  EXPECT_EQ(bindings.Lookup({SDLK_h, true, true})->kind, Kind::Help);
  EXPECT_FALSE(bindings.Lookup({SDLK_F12}).has_value());  // unbound: not even the terminal's F12
  EXPECT_EQ(bindings.Lookup({SDLK_PAGEUP})->words, "battery 15");
  EXPECT_EQ(bindings.Lookup({SDLK_p})->words, "volume in Storage Card");
  EXPECT_EQ(bindings.Lookup({SDLK_RETURN, true, false})->virtualKey, 0x2A);
  EXPECT_EQ(bindings.Lookup({SDLK_EQUALS})->what, Switch::Power);
  EXPECT_EQ(bindings.Lookup({SDLK_F5, false, true})->what, Switch::RaiseBattery);
  EXPECT_EQ(bindings.Lookup({SDLK_F5})->what, Switch::LowerBattery);  // the plain key keeps its default
}

TEST_F(KeyBindingsTest, EveryBadLineIsReportedAndNothingChanges) {
  KeyBindings bindings = KeyBindings::Defaults();
  const auto errors = bindings.Apply(
      "F1 = key F1\n"
      "F2 flip\n"                // no '='
      "Hyper+X = help\n"         // no such key
      "F3 = battery 120\n"       // an action with a bad value
      "F4 = toggle frobnicator\n"
      "F6 = key NOSUCHKEY\n"
      "F7 =\n"
      "Ctrl+ = help\n",
      "bad.keys");
  ASSERT_EQ(errors.size(), 7u);
  EXPECT_EQ(errors[0].rfind("bad.keys:2: ", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1].rfind("bad.keys:3: ", 0), 0u) << errors[1];
  EXPECT_NE(errors[2].find("bad.keys:4: battery"), std::string::npos) << errors[2];
  EXPECT_NE(errors[3].find("'toggle frobnicator' is not a command"), std::string::npos) << errors[3];
  EXPECT_NE(errors[4].find("NOSUCHKEY"), std::string::npos) << errors[4];
  EXPECT_EQ(errors[5].rfind("bad.keys:7: ", 0), 0u) << errors[5];
  EXPECT_EQ(errors[6].rfind("bad.keys:8: ", 0), 0u) << errors[6];
  // The good first line did not take either.
  EXPECT_EQ(bindings.Lookup({SDLK_F1})->kind, Kind::Help);
}

}  // namespace
