// The power status read from the terminal, and the power notifications written into queues
// in the layout the battery icon reads.
#include <windows.h>

#include <gtest/gtest.h>
#include <msgqueue.h>
#include <pm.h>
#include <vela/Terminal.h>

#include <cstring>
#include <vector>

#include "TerminalEventsSupport.h"

namespace {

constexpr DWORD kMarker = 0xdeadbeef;
using Message = std::vector<unsigned char>;

DWORD Dword(const Message& m, std::size_t at) {
  DWORD v = 0;
  std::memcpy(&v, m.data() + at, sizeof v);
  return v;
}

void SetPower(const std::function<void(vela::terminal::Power&)>& edit) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { edit(s.power); });
}

class PowerNotificationTest : public ::testing::Test {
 protected:
  void SetUp() override { vela::terminal::Get().ResetForTests(); }
  void TearDown() override {
    for (HANDLE q : queues_) {
      CloseMsgQueue(q);
    }
    vela::terminal::Get().ResetForTests();
  }
  HANDLE Queue(DWORD maxMessage = POWER_BROADCAST_MAX_SIZE) {
    HANDLE q = vela::testing::MakeReadQueue(maxMessage);
    EXPECT_NE(q, nullptr);
    queues_.push_back(q);
    return q;
  }
  std::vector<HANDLE> queues_;
};

TEST_F(PowerNotificationTest, StatusIsReadFreshFromTheTerminal) {
  SetPower([](vela::terminal::Power& p) {
    p.externalPower = true;
    p.batteryPercent = 42;
    p.batteryFlag = BATTERY_FLAG_LOW | BATTERY_FLAG_CHARGING;
    p.batteryLifeTime = 3600;
    p.batteryVoltage = 3700;
  });
  SYSTEM_POWER_STATUS_EX status;
  std::memset(&status, 0xAB, sizeof status);
  ASSERT_TRUE(GetSystemPowerStatusEx(&status, TRUE));
  EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_LOW | BATTERY_FLAG_CHARGING);
  EXPECT_EQ(status.BatteryLifePercent, 42);
  EXPECT_EQ(status.BatteryLifeTime, 3600u);
  EXPECT_EQ(status.BatteryFullLifeTime, BATTERY_LIFE_UNKNOWN);
  EXPECT_EQ(status.Reserved1, 0);

  SYSTEM_POWER_STATUS_EX2 full{};
  EXPECT_EQ(GetSystemPowerStatusEx2(&full, sizeof full, FALSE), sizeof full);
  EXPECT_EQ(full.BatteryVoltage, 3700u);
  EXPECT_EQ(full.BatteryLifePercent, 42);
  // A shorter length fills only that much.
  SYSTEM_POWER_STATUS_EX2 part;
  std::memset(&part, 0xAB, sizeof part);
  EXPECT_EQ(GetSystemPowerStatusEx2(&part, 4, FALSE), 4u);
  EXPECT_EQ(part.BatteryLifePercent, 42);
  EXPECT_EQ(part.BatteryLifeTime, 0xABABABABu);
  SetLastError(kMarker);
  EXPECT_EQ(GetSystemPowerStatusEx2(nullptr, sizeof full, FALSE), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(kMarker);
  EXPECT_FALSE(GetSystemPowerStatusEx(nullptr, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // Without a battery nothing about one is known.
  SetPower([](vela::terminal::Power& p) { p.batteryFlag = BATTERY_FLAG_NO_BATTERY; });
  ASSERT_TRUE(GetSystemPowerStatusEx(&status, FALSE));
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(status.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
  EXPECT_EQ(status.BatteryLifeTime, BATTERY_LIFE_UNKNOWN);
}

TEST_F(PowerNotificationTest, BatteryChangesArriveInTheLayoutTheIconReads) {
  HANDLE q = Queue();
  HANDLE registration = RequestPowerNotifications(q, PBT_POWERINFOCHANGE);
  ASSERT_NE(registration, nullptr);
  SetPower([](vela::terminal::Power& p) {
    p.batteryPercent = 24;
    p.batteryFlag = BATTERY_FLAG_LOW;
    p.batteryLifeTime = 1200;
    p.batteryFullLifeTime = 7200;
  });
  EXPECT_EQ(WaitForSingleObject(q, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  std::vector<Message> got = vela::testing::Drain(q, POWER_BROADCAST_MAX_SIZE);
  ASSERT_EQ(got.size(), 1u);
  const Message& m = got[0];
  ASSERT_EQ(m.size(), static_cast<std::size_t>(POWER_BROADCAST_MAX_SIZE));
  EXPECT_EQ(Dword(m, 0), static_cast<DWORD>(PBT_POWERINFOCHANGE));
  EXPECT_EQ(Dword(m, 8), sizeof(POWER_BROADCAST_POWER_INFO));
  EXPECT_EQ(Dword(m, 12), 3u);  // levels
  EXPECT_EQ(Dword(m, 16), 1200u);
  EXPECT_EQ(Dword(m, 20), 7200u);
  EXPECT_EQ(m[32], AC_LINE_OFFLINE);
  EXPECT_EQ(m[33], BATTERY_FLAG_LOW);
  EXPECT_EQ(m[34], 24);

  // External power: the icon's first test.
  SetPower([](vela::terminal::Power& p) { p.externalPower = true; });
  got = vela::testing::Drain(q, POWER_BROADCAST_MAX_SIZE);
  ASSERT_EQ(got.size(), 1u);  // PBT_POWERSTATUSCHANGE was not asked for
  EXPECT_EQ(got[0][32], AC_LINE_ONLINE);

  // Switches that share the power area change no status and tell nothing.
  SetPower([](vela::terminal::Power& p) { p.autoPowerOffForbidden = true; });
  EXPECT_TRUE(vela::testing::Drain(q, POWER_BROADCAST_MAX_SIZE).empty());

  EXPECT_TRUE(StopPowerNotifications(registration));
  SetPower([](vela::terminal::Power& p) { p.batteryPercent = 90; });
  EXPECT_TRUE(vela::testing::Drain(q, POWER_BROADCAST_MAX_SIZE).empty());
  SetLastError(kMarker);
  EXPECT_FALSE(StopPowerNotifications(registration));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(PowerNotificationTest, FlagsChooseWhatEachQueueHears) {
  HANDLE all = Queue();
  HANDLE transitions = Queue();
  ASSERT_NE(RequestPowerNotifications(all, POWER_NOTIFY_ALL), nullptr);
  ASSERT_NE(RequestPowerNotifications(transitions, PBT_TRANSITION | PBT_RESUME), nullptr);

  SetPower([](vela::terminal::Power& p) { p.externalPower = true; });
  std::vector<Message> got = vela::testing::Drain(all, POWER_BROADCAST_MAX_SIZE);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(Dword(got[0], 0), static_cast<DWORD>(PBT_POWERINFOCHANGE));
  EXPECT_EQ(Dword(got[1], 0), static_cast<DWORD>(PBT_POWERSTATUSCHANGE));
  EXPECT_TRUE(vela::testing::Drain(transitions, POWER_BROADCAST_MAX_SIZE).empty());

  vela::testing::SuspendAndWake();
  got = vela::testing::Drain(transitions, POWER_BROADCAST_MAX_SIZE);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(Dword(got[0], 0), static_cast<DWORD>(PBT_TRANSITION));
  EXPECT_EQ(Dword(got[0], 4), static_cast<DWORD>(POWER_STATE_SUSPEND));
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(got[0].data() + 12)), u"suspend");
  EXPECT_EQ(Dword(got[1], 0), static_cast<DWORD>(PBT_RESUME));
  EXPECT_EQ(Dword(got[2], 0), static_cast<DWORD>(PBT_TRANSITION));
  EXPECT_EQ(Dword(got[2], 4), static_cast<DWORD>(POWER_STATE_ON));
  EXPECT_EQ(vela::testing::Drain(all, POWER_BROADCAST_MAX_SIZE).size(), 3u);
}

TEST_F(PowerNotificationTest, ARegistrationEndsWithItsQueue) {
  HANDLE q = vela::testing::MakeReadQueue(POWER_BROADCAST_MAX_SIZE);
  HANDLE registration = RequestPowerNotifications(q, PBT_POWERINFOCHANGE);
  ASSERT_NE(registration, nullptr);
  ASSERT_TRUE(CloseMsgQueue(q));
  SetPower([](vela::terminal::Power& p) { p.batteryPercent = 50; });
  SetLastError(kMarker);
  EXPECT_FALSE(StopPowerNotifications(registration));  // already gone with the queue
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  // A queue too small for the message loses that message, not its registration.
  HANDLE small = Queue(16);
  HANDLE kept = RequestPowerNotifications(small, POWER_NOTIFY_ALL);
  SetPower([](vela::terminal::Power& p) { p.batteryPercent = 40; });
  EXPECT_TRUE(vela::testing::Drain(small, 16).empty());
  SetPower([](vela::terminal::Power& p) { p.externalPower = true; });
  EXPECT_EQ(vela::testing::Drain(small, 16).size(), 1u);  // the 12-byte status change fits
  EXPECT_TRUE(StopPowerNotifications(kept));

  SetLastError(kMarker);
  EXPECT_EQ(RequestPowerNotifications(nullptr, POWER_NOTIFY_ALL), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(kMarker);
  EXPECT_EQ(RequestPowerNotifications(reinterpret_cast<HANDLE>(uintptr_t{0x7FFC}), POWER_NOTIFY_ALL), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
