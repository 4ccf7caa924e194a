// Terminal actions in words: what each does to the terminal, what the platform then tells
// the kit, and what bad words are told.
#include <windows.h>

#include <gtest/gtest.h>
#include <imm.h>
#include <iphlpapi.h>
#include <msgqueue.h>
#include <pm.h>
#include <vela/Clock.h>
#include <vela/DeviceAction.h>
#include <vela/Terminal.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "ScopedTerminalRoot.h"
#include "TerminalEventsSupport.h"
#include "threads/Watchdog.h"

namespace {

using vela::device::ApplyAction;
using vela::terminal::State;

State Now() { return vela::terminal::Get().Get(); }

void Apply(std::string_view words) { ASSERT_EQ(ApplyAction(words), "") << words; }

class DeviceActionTest : public ::testing::Test {
 protected:
  void SetUp() override { vela::terminal::Get().ResetForTests(); }
  void TearDown() override {
    for (HANDLE q : queues_) CloseMsgQueue(q);
    vela::terminal::Get().ResetForTests();
    vela::clock::UseHost();
  }
  HANDLE PowerQueue(DWORD flags) {
    HANDLE q = vela::testing::MakeReadQueue(POWER_BROADCAST_MAX_SIZE);
    queues_.push_back(q);
    EXPECT_NE(RequestPowerNotifications(q, flags), nullptr);
    return q;
  }
  vela::testing::ScopedTerminalRoot root_;  // no Terminal.ini of a person's root in the way
  std::vector<HANDLE> queues_;
};

SYSTEM_POWER_STATUS_EX PowerStatus() {
  SYSTEM_POWER_STATUS_EX status{};
  EXPECT_TRUE(GetSystemPowerStatusEx(&status, TRUE));
  return status;
}

TEST_F(DeviceActionTest, BatteryLevelsSetTheFlagsThePowerStatusReports) {
  struct Level {
    const char* words;
    BYTE flag;
  };
  for (const Level& level : {Level{"battery 100", BATTERY_FLAG_HIGH}, Level{"battery 40", BATTERY_FLAG_HIGH},
                             Level{"battery 39", BATTERY_FLAG_LOW}, Level{"battery 10", BATTERY_FLAG_LOW},
                             Level{"battery 9", BATTERY_FLAG_CRITICAL}, Level{"battery 1", BATTERY_FLAG_CRITICAL},
                             Level{"battery 0", 0}}) {
    Apply(level.words);
    const SYSTEM_POWER_STATUS_EX status = PowerStatus();
    EXPECT_EQ(status.BatteryFlag, level.flag) << level.words;
    EXPECT_EQ(status.BatteryLifePercent, std::atoi(level.words + 8)) << level.words;
  }
  // On external power the battery charges, and a new level keeps charging.
  Apply("power on");
  EXPECT_EQ(PowerStatus().ACLineStatus, AC_LINE_ONLINE);
  Apply("battery 55");
  EXPECT_EQ(PowerStatus().BatteryFlag, BATTERY_FLAG_HIGH | BATTERY_FLAG_CHARGING);
  Apply("power off");
  EXPECT_EQ(PowerStatus().BatteryFlag, BATTERY_FLAG_HIGH);
  EXPECT_EQ(PowerStatus().ACLineStatus, AC_LINE_OFFLINE);

  Apply("battery none");
  Apply("power on");  // no battery to charge
  EXPECT_EQ(PowerStatus().BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(PowerStatus().BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
  Apply("battery 20");  // a battery put back in
  EXPECT_EQ(PowerStatus().BatteryFlag, BATTERY_FLAG_LOW | BATTERY_FLAG_CHARGING);
}

TEST_F(DeviceActionTest, PowerChangesOnABatteryOfUnknownStateKeepItUnknown) {
  vela::terminal::Get().Update([](State& s) { s.power.batteryFlag = vela::terminal::battery::kUnknown; });
  Apply("power off");
  EXPECT_EQ(Now().power.batteryFlag, vela::terminal::battery::kUnknown);
  Apply("power on");
  EXPECT_EQ(Now().power.batteryFlag, vela::terminal::battery::kUnknown);
  EXPECT_TRUE(Now().power.externalPower);
}

TEST_F(DeviceActionTest, BatteryAndPowerActionsAreToldAsTheBatteryIconReadsThem) {
  HANDLE q = PowerQueue(PBT_POWERINFOCHANGE);
  Apply("battery 20");
  Apply("battery 20");  // the same level again tells nothing
  Apply("power on");
  const auto got = vela::testing::Drain(q, POWER_BROADCAST_MAX_SIZE);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0][32], AC_LINE_OFFLINE);
  EXPECT_EQ(got[0][33], BATTERY_FLAG_LOW);
  EXPECT_EQ(got[0][34], 20);
  EXPECT_EQ(got[1][32], AC_LINE_ONLINE);
  EXPECT_EQ(got[1][33], BATTERY_FLAG_LOW | BATTERY_FLAG_CHARGING);
}

std::vector<std::string> AdapterAddresses() {
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<BYTE> buffer(size);
  auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  std::vector<std::string> addresses;
  if (size == 0 || GetAdaptersInfo(info, &size) != ERROR_SUCCESS) return addresses;
  for (; info; info = info->Next) addresses.emplace_back(info->IpAddressList.IpAddress.String);
  return addresses;
}

TEST_F(DeviceActionTest, NetworkDownAndUpGiveEachAdapterItsOwnAddressBack) {
  vela::terminal::Adapter lan;
  lan.name = "LAN1";
  lan.ipAddress = "10.0.0.5";
  vela::terminal::Get().Update([&](State& s) { s.network.adapters.push_back(lan); });
  Apply("network down");
  EXPECT_EQ(AdapterAddresses(), (std::vector<std::string>{"0.0.0.0", "0.0.0.0"}));
  Apply("network down");  // twice down does not forget the addresses
  Apply("network up");
  EXPECT_EQ(AdapterAddresses(), (std::vector<std::string>{"192.168.10.20", "10.0.0.5"}));
  // Also in a program started meanwhile: the state text carries what was taken away.
  Apply("network down");
  const std::string text = vela::terminal::StateText(Now());
  vela::terminal::Get().ResetForTests();
  EXPECT_TRUE(vela::terminal::Get().ApplyStartingState(text).empty());
  Apply("network up");
  EXPECT_EQ(AdapterAddresses(), (std::vector<std::string>{"192.168.10.20", "10.0.0.5"}));

  // Without adapters, "up" gives the terminal its wireless adapter.
  vela::terminal::Get().Update([](State& s) { s.network.adapters.clear(); });
  Apply("network up");
  EXPECT_EQ(Now().network.adapters, vela::terminal::DefaultAdapters());
}

TEST_F(DeviceActionTest, SignalReachesEveryAdapter) {
  vela::terminal::Get().Update([](State& s) { s.network.adapters.push_back(s.network.adapters[0]); });
  Apply("signal -85");
  for (const auto& adapter : Now().network.adapters) EXPECT_EQ(adapter.signalDbm, -85);
  Apply("signal none");
  for (const auto& adapter : Now().network.adapters) EXPECT_FALSE(adapter.signalDbm);
}

// The input method's mode as the kit's status icon decodes it: 0 closed, 1 full hiragana,
// 2 full katakana, 3 full alphanumeric, 4 half katakana, 5 half alphanumeric.
DWORD DecodedImeStatus() {
  if (!ImmGetOpenStatus(nullptr)) return 0;
  DWORD conversion = 0, sentence = 0;
  ImmGetConversionStatus(nullptr, &conversion, &sentence);
  if (conversion & IME_CMODE_FULLSHAPE) {
    if (!(conversion & IME_CMODE_NATIVE)) return 3;
    return (conversion & IME_CMODE_KATAKANA) ? 2 : 1;
  }
  return (conversion & IME_CMODE_KATAKANA) ? 4 : 5;
}

TEST_F(DeviceActionTest, InputMethodModesDecodeAsTheIconReadsThem) {
  struct Mode {
    const char* words;
    DWORD status;
  };
  for (const Mode& mode : {Mode{"ime hiragana", 1}, Mode{"ime katakana", 2}, Mode{"ime alpha", 3},
                           Mode{"ime halfkana", 4}, Mode{"ime halfalpha", 5}, Mode{"ime off", 0}}) {
    Apply(mode.words);
    EXPECT_EQ(DecodedImeStatus(), mode.status) << mode.words;
  }
  Apply("keymode 10");
  EXPECT_EQ(Now().input.keyInputMode, 10);
}

bool VolumeFolderExists(const char16_t* name) {
  return GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(DeviceActionTest, VolumesComeAndGoByName) {
  Apply("volume in SD Card");
  Apply("volume in SD Card");  // in already: still one
  Apply("volume in Storage Card");
  EXPECT_EQ(Now().identity.volumes, (std::vector<std::string>{"SD Card", "Storage Card"}));
  EXPECT_TRUE(VolumeFolderExists(u"\\SD Card"));
  Apply("volume out SD Card");
  EXPECT_EQ(Now().identity.volumes, std::vector<std::string>{"Storage Card"});
  EXPECT_FALSE(VolumeFolderExists(u"\\SD Card"));
  Apply("volume out Missing Card");  // not in: nothing to take out
  EXPECT_EQ(Now().identity.volumes, std::vector<std::string>{"Storage Card"});
}

TEST_F(DeviceActionTest, SuspendThenWakeTellTheTransitionsInOrder) {
  vela::test::Watchdog watchdog("suspend and wake actions");
  HANDLE q = PowerQueue(PBT_TRANSITION | PBT_RESUME);
  Apply("suspend");
  EXPECT_TRUE(vela::terminal::Get().IsSuspended());
  EXPECT_EQ(ApplyAction("suspend"), "suspend: the terminal is suspended already");
  Apply("wake");
  EXPECT_FALSE(vela::terminal::Get().IsSuspended());
  EXPECT_EQ(ApplyAction("wake"), "wake: the terminal is not suspended");
  const auto got = vela::testing::Drain(q, POWER_BROADCAST_MAX_SIZE);
  ASSERT_EQ(got.size(), 3u);
  DWORD first = 0, second = 0;
  std::memcpy(&first, got[0].data(), 4);
  std::memcpy(&second, got[1].data(), 4);
  EXPECT_EQ(first, static_cast<DWORD>(PBT_TRANSITION));
  EXPECT_EQ(second, static_cast<DWORD>(PBT_RESUME));
  const vela::terminal::Records records = vela::terminal::Get().GetRecords();
  EXPECT_EQ(records.suspends, 1u);
  EXPECT_EQ(records.wakeUps, 1u);
  // A second round works the same.
  Apply("suspend");
  Apply("wake");
  EXPECT_EQ(vela::terminal::Get().GetRecords().wakeUps, 2u);
}

TEST_F(DeviceActionTest, ASuspendThatWakesByItselfAtOnceStillReturns) {
  vela::test::Watchdog watchdog("a suspend that wakes by itself");
  vela::terminal::Get().Update([](State& s) { s.suspendWakesAfter = std::chrono::milliseconds(1); });
  for (int i = 0; i < 20; ++i) {
    Apply("suspend");
    vela::terminal::Get().Suspend();  // waits for that suspend's own wake-up, if still under way
  }
}

TEST_F(DeviceActionTest, BadWordsAreToldAndChangeNothing) {
  const State before = Now();
  struct Case {
    const char* words;
    const char* told;
  };
  for (const Case& c : {
           Case{"", "no action given"},
           Case{"   ", "no action given"},
           Case{"reboot now", "'reboot' is not a terminal action"},
           Case{"power", "power: say 'power on' or 'power off'"},
           Case{"power on off", "power: say 'power on' or 'power off'"},
           Case{"battery 101", "battery: '101' is not 0 to 100 or none"},
           Case{"battery -1", "battery: '-1' is not 0 to 100 or none"},
           Case{"battery 5%", "battery: '5%' is not 0 to 100 or none"},
           Case{"signal 3", "signal: '3' is not a strength in dBm (-120 to 0) or none"},
           Case{"signal -121", "signal: '-121' is not a strength in dBm (-120 to 0) or none"},
           Case{"network sideways", "network: say 'network up' or 'network down'"},
           Case{"ime romaji", "ime: 'romaji' is not off, hiragana, katakana, alpha, halfkana or halfalpha"},
           Case{"keymode 256", "keymode: '256' is not a mode number"},
           Case{"keymode x", "keymode: 'x' is not a mode number"},
           Case{"volume in", "volume: say 'volume in NAME' or 'volume out NAME'"},
           Case{"volume in ..\\Windows", "volume: a name holds no '\\', '/' or ','"},
           Case{"volume in A,B", "volume: a name holds no '\\', '/' or ','"},
           Case{"wake up", "wake: takes nothing more"},
       }) {
    EXPECT_EQ(ApplyAction(c.words), c.told) << "'" << c.words << "'";
    EXPECT_EQ(vela::device::CheckAction(c.words), c.told);
  }
  EXPECT_EQ(Now(), before);
  EXPECT_EQ(vela::terminal::Get().GetRecords().suspends, 0u);
}

}  // namespace
