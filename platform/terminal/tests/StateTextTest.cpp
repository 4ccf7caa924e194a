// The state written as text and read back, and a handed-over state taking the file's place.
#include <gtest/gtest.h>
#include <vela/Terminal.h>

#include <PrivateTerminalRoot.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <vela/TerminalFileSystem.h>

#include "StartingState.h"

namespace vela::terminal {
namespace {

// A state far from the defaults in every area.
State VariedState() {
  State s;
  s.backlight = {.battery = 0, .externalPower = 4, .batteryMaximum = 7, .externalPowerMaximum = 9, .readResult = 3};
  s.power.externalPower = true;
  s.power.batteryPercent = 255;
  s.power.batteryFlag = battery::kNoBattery;
  s.power.batteryLifeTime = 3600;
  s.power.batteryFullLifeTime = 0;
  s.power.batteryVoltage = 0;
  s.power.batteryCurrent = 480;
  s.power.batteryTemperature = 312;
  s.power.batteryChemistry = 0xFF;
  s.power.powerOffForbidden = true;
  s.power.autoPowerOffForbidden = true;
  s.suspendWakesAfter = std::chrono::milliseconds(90000);
  s.sound.buzzerVolumes = {{0, 0}, {7, 3}, {0xFFFFFFFFu, 1}};
  s.sound.defaultBuzzerVolume = 0;
  s.sound.waveVolumes = {0, 0x12345678u, 0xFFFF0000u};
  s.input = {.keyInputMode = kNoKeyInputMode, .imeOpen = true, .conversion = 0x0B, .sentence = 0x08};
  s.network.ndisDriverPresent = false;
  s.network.wlanOn = false;
  Adapter lan;
  lan.name = "LAN 2";
  lan.description = "有線 LAN";
  lan.type = 71;
  lan.ipAddress = "10.1.2.3";
  lan.dhcp = false;
  lan.address = {0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x01, 0x02, 0x03};
  lan.signalDbm = -120;
  Adapter bare;  // no name, no hardware address, no signal
  s.network.adapters = {lan, bare, DefaultAdapters().front()};
  s.identity = {.hostName = "端末-7", .systemName = "", .volumes = {"Storage Card", "SD Card 2"}};
  s.screen = {.width = 480, .height = 640};
  return s;
}

State ReadBack(const std::string& text) {
  State back;
  const std::vector<std::string> problems = ApplyStartingStateText(text, back);
  EXPECT_TRUE(problems.empty()) << problems.front() << "\n" << text;
  return back;
}

TEST(StateTextTest, ReadingTheTextBackGivesAnEqualState) {
  const State varied = VariedState();
  EXPECT_EQ(ReadBack(StateText(varied)), varied) << StateText(varied);
  EXPECT_EQ(ReadBack(StateText(State{})), State{});
}

TEST(StateTextTest, ATerminalWithoutAdaptersStaysWithout) {
  State none;
  none.network.adapters.clear();
  EXPECT_TRUE(ReadBack(StateText(none)).network.adapters.empty());
  // Adapter sections after the key still give the adapters.
  State back;
  ApplyStartingStateText("[Network]\nNoAdapters = yes\n[Adapter1]\nName = X\n", back);
  ASSERT_EQ(back.network.adapters.size(), 1u);
  EXPECT_EQ(back.network.adapters[0].name, "X");
}

TEST(StateTextTest, ALineBreakInATextCannotSetAnotherKey) {
  State s;
  s.identity.hostName = "host\n[Power]\nExternalPower = yes";
  s.network.adapters[0].description = " padded\r\n";
  const State back = ReadBack(StateText(s));
  EXPECT_FALSE(back.power.externalPower);
  EXPECT_EQ(back.identity.hostName, "host [Power] ExternalPower = yes");
  EXPECT_EQ(back.network.adapters[0].description, "padded");
}

class HandedStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(file_) << "[Backlight]\nBattery = 4\n";
  }
  void TearDown() override {
    unsetenv(kStateVariable);
    std::filesystem::remove(file_);
    Get().ResetForTests();
  }
  const std::string file_ = HostPathFromTerminal(u"\\Windows\\Terminal.ini");
};

TEST_F(HandedStateTest, TheHandedStateReplacesTheFile) {
  State handed;
  handed.power.batteryPercent = 20;
  handed.power.batteryFlag = battery::kLow;
  setenv(kStateVariable, StateText(handed).c_str(), 1);
  Get().ResetForTests();
  EXPECT_EQ(Get().Get(), handed);  // the file's backlight setting is not applied over it

  unsetenv(kStateVariable);
  Get().ResetForTests();
  EXPECT_EQ(Get().Get().backlight.battery, 4u);
}

TEST_F(HandedStateTest, AnEmptyHandedStateIsTheDefaults) {
  setenv(kStateVariable, "", 1);
  Get().ResetForTests();
  EXPECT_EQ(Get().Get(), State{});
}

}  // namespace
}  // namespace vela::terminal
