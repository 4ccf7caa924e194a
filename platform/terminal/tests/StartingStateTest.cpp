// The starting-state file: what it sets, and what a bad line leaves alone.
#include <gtest/gtest.h>
#include <vela/Terminal.h>

#include <PrivateTerminalRoot.h>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include <vela/TerminalFileSystem.h>

#include "StartingState.h"

namespace vela::terminal {
namespace {

TEST(StartingStateTest, SetsEveryArea) {
  State state;
  const auto problems = ApplyStartingStateText(
      "\xEF\xBB\xBF; a terminal on external power\r\n"
      "[Backlight]\r\nBattery = 1\r\nExternalPowerMaximum = 0x10\r\nReadResult = 7\r\n"
      "[power]\r\nEXTERNALPOWER = yes\r\nBatteryPercent = 15\r\nBatteryFlag = low\r\n"
      "SuspendWakesAfter = 2500\r\n"
      "[Sound]\r\nBuzzer3 = 9\r\nWave1 = 0x80008000\r\n"
      "[Input]\r\nKeyInputMode = -6\r\nImeOpen = 1\r\nConversion = 0x19\r\n"
      "[Network]\r\nNdisDriver = off\r\n"
      "[Identity]\r\nSystemName = SD Card\r\nVolumes = SD Card, Storage Card ,\r\n"
      "[Screen]\r\nWidth = 480\r\n",
      state);
  EXPECT_TRUE(problems.empty()) << problems.front();
  EXPECT_EQ(state.backlight.battery, 1u);
  EXPECT_EQ(state.backlight.externalPowerMaximum, 16u);
  EXPECT_EQ(state.backlight.readResult, 7u);
  EXPECT_TRUE(state.power.externalPower);
  EXPECT_EQ(state.power.batteryPercent, 15);
  EXPECT_EQ(state.power.batteryFlag, battery::kLow);
  EXPECT_EQ(state.suspendWakesAfter, std::chrono::milliseconds(2500));
  EXPECT_EQ(state.sound.buzzerVolumes.at(3), 9u);
  ASSERT_EQ(state.sound.waveVolumes.size(), 2u);
  EXPECT_EQ(state.sound.waveVolumes[1], 0x80008000u);
  EXPECT_EQ(state.input.keyInputMode, kNoKeyInputMode);
  EXPECT_TRUE(state.input.imeOpen);
  EXPECT_EQ(state.input.conversion, 0x19u);
  EXPECT_FALSE(state.network.ndisDriverPresent);
  EXPECT_EQ(state.identity.systemName, "SD Card");
  EXPECT_EQ(state.identity.volumes, (std::vector<std::string>{"SD Card", "Storage Card"}));
  EXPECT_EQ(state.screen.width, 480);
  EXPECT_EQ(state.screen.height, 320);
}

TEST(StartingStateTest, AdapterSectionsReplaceTheDefaultsInNumberOrder) {
  State state;
  const auto problems = ApplyStartingStateText(
      "[Adapter10]\nName = LAN\nType = 6\nIpAddress = 10.0.0.5\nSignalDbm = none\n"
      "[Adapter2]\nName = WLAN\nSignalDbm = -71\nAddress = 00:11:22:33:44:55\nDhcp = 0\n",
      state);
  EXPECT_TRUE(problems.empty());
  ASSERT_EQ(state.network.adapters.size(), 2u);
  EXPECT_EQ(state.network.adapters[0].name, "WLAN");
  EXPECT_EQ(state.network.adapters[0].signalDbm, -71);
  EXPECT_EQ(state.network.adapters[0].address.size(), 6u);
  EXPECT_FALSE(state.network.adapters[0].dhcp);
  EXPECT_EQ(state.network.adapters[1].name, "LAN");
  EXPECT_EQ(state.network.adapters[1].type, 6u);
  EXPECT_EQ(state.network.adapters[1].ipAddress, "10.0.0.5");
  EXPECT_FALSE(state.network.adapters[1].signalDbm);
}

TEST(StartingStateTest, BadLinesAreReportedAndKeepTheDefaults) {
  State state;
  const auto problems = ApplyStartingStateText(
      "Orphan = 1\n"                       // before any section
      "[Backlight\nBattery = 9\n"           // broken header: its keys are skipped
      "[Power]\nBatteryPercent = 101\n"     // out of range
      "BatteryPercent = 12abc\n"
      "PowerOffForbidden = maybe\n"
      "Colour = red\n"                      // unknown key
      "just text\n"
      "[Sound]\nBuzzer = 3\nWave99 = 1\nWave0 = -1\n"
      "[Screen]\nHeight = 0\n"
      "[Adapter1]\nAddress = 00:11:22:33:44:55:66:77:88\nType = -3\nSpeed = 10\n"
      "[Modem]\nBaud = 9600\n",
      state);
  EXPECT_EQ(problems.size(), 15u);
  const State defaults;
  EXPECT_EQ(state.backlight, defaults.backlight);
  EXPECT_EQ(state.power, defaults.power);
  EXPECT_EQ(state.sound, defaults.sound);
  EXPECT_EQ(state.screen, defaults.screen);
  ASSERT_EQ(state.network.adapters.size(), 1u);  // the section still makes an adapter
  EXPECT_TRUE(state.network.adapters[0].address.empty());
  EXPECT_EQ(state.network.adapters[0].type, Adapter{}.type);
  for (const std::string& problem : problems) {
    EXPECT_EQ(problem.rfind("Terminal.ini line ", 0), 0u) << problem;
  }
}

TEST(StartingStateTest, NumbersOutOfTheirTypeAreRefused) {
  State state;
  ApplyStartingStateText(
      "[Input]\nKeyInputMode = 2147483648\nConversion = 0x100000000\n"
      "[Backlight]\nBattery = -1\n",
      state);
  EXPECT_EQ(state.input, State{}.input);
  EXPECT_EQ(state.backlight, State{}.backlight);
  ApplyStartingStateText("[Input]\nKeyInputMode = -2147483648\n", state);
  EXPECT_EQ(state.input.keyInputMode, INT32_MIN);
}

TEST(StartingStateTest, TheFileInWindowsIsReadAtTheFirstAccessAfterAReset) {
  const std::string path = HostPathFromTerminal(u"\\Windows\\Terminal.ini");
  std::ofstream(path) << "[Backlight]\nBattery = 4\n[Nonsense]\n";
  Get().ResetForTests();
  EXPECT_EQ(Get().Get().backlight.battery, 4u);
  std::filesystem::remove(path);
  Get().ResetForTests();
  EXPECT_EQ(Get().Get().backlight.battery, Backlight{}.battery);
}

}  // namespace
}  // namespace vela::terminal

namespace vela::terminal {
namespace {

TEST(StartingStateTest, MirrorHostTakesTheHostsInterfacesWithLoopbackAsType24) {
  State state;
  EXPECT_TRUE(ApplyStartingStateText("[Network]\nMirrorHost = 1\n", state).empty());
  const auto loopback = std::find_if(state.network.adapters.begin(), state.network.adapters.end(),
                                     [](const Adapter& a) { return a.ipAddress == "127.0.0.1"; });
  ASSERT_NE(loopback, state.network.adapters.end());
  EXPECT_EQ(loopback->type, 24u);
  EXPECT_FALSE(loopback->signalDbm);
}

}  // namespace
}  // namespace vela::terminal
