#include <windows.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include <ctime>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr DWORD kMarker = 0xdeadbeef;

SYSTEMTIME Fields(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms, WORD dow = 0) {
  return SYSTEMTIME{y, mo, dow, d, h, mi, s, ms};
}

::testing::AssertionResult SameFields(const SYSTEMTIME& want, const SYSTEMTIME& got) {
  if (want.wYear == got.wYear && want.wMonth == got.wMonth && want.wDay == got.wDay &&
      want.wHour == got.wHour && want.wMinute == got.wMinute && want.wSecond == got.wSecond &&
      want.wMilliseconds == got.wMilliseconds && want.wDayOfWeek == got.wDayOfWeek) {
    return ::testing::AssertionSuccess();
  }
  auto show = [](const SYSTEMTIME& t) {
    char text[64];
    snprintf(text, sizeof text, "%u/%u/%u %u:%02u:%02u.%03u dow %u", t.wYear, t.wMonth, t.wDay,
             t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
    return std::string(text);
  };
  return ::testing::AssertionFailure() << "want " << show(want) << ", got " << show(got);
}

// Every test starts on a manual clock in Japan's zone and leaves the host clock behind it.
class ClockTest : public ::testing::Test {
 protected:
  ClockTest() {
    vela::clock::SetZoneBias(-540);
    vela::clock::UseManual(Fields(2010, 8, 4, 0, 5, 7, 123));
  }
  ~ClockTest() override {
    vela::clock::UseHost();
    vela::clock::SetZoneBias(std::nullopt);
  }
};

TEST_F(ClockTest, ManualClockGivesExactFields) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  EXPECT_TRUE(SameFields(Fields(2010, 8, 4, 9, 5, 7, 123, 3), st));
  GetSystemTime(&st);
  EXPECT_TRUE(SameFields(Fields(2010, 8, 4, 0, 5, 7, 123, 3), st));

  const DWORD tick = GetTickCount();
  vela::clock::Advance(10s);
  EXPECT_EQ(GetTickCount() - tick, 10000u);
  GetLocalTime(&st);
  EXPECT_TRUE(SameFields(Fields(2010, 8, 4, 9, 5, 17, 123, 3), st));
}

TEST_F(ClockTest, AdvancingCrossesDaysMonthsAndLeapYears) {
  struct Case {
    SYSTEMTIME start;  // UTC
    std::chrono::milliseconds by;
    SYSTEMTIME utc;
  } const cases[] = {
      {Fields(2012, 2, 28, 23, 59, 59, 999), 1ms, Fields(2012, 2, 29, 0, 0, 0, 0, 3)},
      {Fields(2011, 2, 28, 23, 59, 59, 999), 1ms, Fields(2011, 3, 1, 0, 0, 0, 0, 2)},
      {Fields(2000, 2, 28, 12, 0, 0, 0), 24h, Fields(2000, 2, 29, 12, 0, 0, 0, 2)},
      {Fields(2100, 2, 28, 12, 0, 0, 0), 24h, Fields(2100, 3, 1, 12, 0, 0, 0, 1)},
      {Fields(2010, 12, 31, 23, 59, 59, 999), 1ms, Fields(2011, 1, 1, 0, 0, 0, 0, 6)},
      {Fields(2010, 4, 30, 0, 0, 0, 0), 24h, Fields(2010, 5, 1, 0, 0, 0, 0, 6)},
      {Fields(1601, 1, 1, 0, 0, 0, 0), 0ms, Fields(1601, 1, 1, 0, 0, 0, 0, 1)},
      {Fields(1970, 1, 1, 0, 0, 0, 0), 0ms, Fields(1970, 1, 1, 0, 0, 0, 0, 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    vela::clock::UseManual(c.start);
    vela::clock::Advance(c.by);
    SYSTEMTIME st;
    GetSystemTime(&st);
    EXPECT_TRUE(SameFields(c.utc, st));
  }
}

TEST_F(ClockTest, LocalTimeCrossesTheDateLineOfTheZone) {
  vela::clock::UseManual(Fields(2010, 12, 31, 15, 0, 0, 0));
  SYSTEMTIME st;
  GetLocalTime(&st);
  EXPECT_TRUE(SameFields(Fields(2011, 1, 1, 0, 0, 0, 0, 6), st));
}

TEST_F(ClockTest, SetSystemTimeMovesBothByTheSameOffsetAndClockKeepsRunning) {
  SYSTEMTIME target = Fields(2020, 1, 2, 3, 4, 5, 6);
  target.wDayOfWeek = 6;  // ignored
  const DWORD tick = GetTickCount();
  ASSERT_TRUE(SetSystemTime(&target));
  EXPECT_EQ(GetTickCount(), tick);  // the tick count is not the time of day
  vela::clock::Advance(1500ms);
  SYSTEMTIME st;
  GetSystemTime(&st);
  EXPECT_TRUE(SameFields(Fields(2020, 1, 2, 3, 4, 6, 506, 4), st));
  GetLocalTime(&st);
  EXPECT_TRUE(SameFields(Fields(2020, 1, 2, 12, 4, 6, 506, 4), st));

  SYSTEMTIME local = Fields(2020, 1, 1, 8, 0, 0, 0);
  ASSERT_TRUE(SetLocalTime(&local));
  GetSystemTime(&st);
  EXPECT_TRUE(SameFields(Fields(2019, 12, 31, 23, 0, 0, 0, 2), st));
}

TEST_F(ClockTest, SetTimeRefusesFieldsOutOfRange) {
  const SYSTEMTIME bad[] = {
      Fields(2010, 13, 1, 0, 0, 0, 0), Fields(2010, 0, 1, 0, 0, 0, 0),
      Fields(2010, 1, 0, 0, 0, 0, 0),  Fields(2011, 2, 29, 0, 0, 0, 0),
      Fields(2010, 4, 31, 0, 0, 0, 0), Fields(2010, 1, 1, 24, 0, 0, 0),
      Fields(2010, 1, 1, 0, 60, 0, 0), Fields(2010, 1, 1, 0, 0, 60, 0),
      Fields(2010, 1, 1, 0, 0, 0, 1000), Fields(1600, 12, 31, 0, 0, 0, 0),
  };
  for (const SYSTEMTIME& st : bad) {
    SCOPED_TRACE(testing::Message() << "case " << (&st - bad));
    SetLastError(kMarker);
    EXPECT_FALSE(SetSystemTime(&st));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    SetLastError(kMarker);
    EXPECT_FALSE(SetLocalTime(&st));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    FILETIME ft;
    EXPECT_FALSE(SystemTimeToFileTime(&st, &ft));
  }
  SetLastError(kMarker);
  EXPECT_FALSE(SetSystemTime(nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  SYSTEMTIME st;
  GetSystemTime(&st);
  EXPECT_TRUE(SameFields(Fields(2010, 8, 4, 0, 5, 7, 123, 3), st));
}

TEST_F(ClockTest, FileTimes) {
  const SYSTEMTIME unixEpoch = Fields(1970, 1, 1, 0, 0, 0, 0);
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&unixEpoch, &ft));
  EXPECT_EQ((uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime, 116444736000000000ull);

  const SYSTEMTIME t = Fields(30827, 12, 31, 23, 59, 59, 999);
  ASSERT_TRUE(SystemTimeToFileTime(&t, &ft));
  SYSTEMTIME back;
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
  EXPECT_TRUE(SameFields(Fields(30827, 12, 31, 23, 59, 59, 999, 5), back));

  FILETIME local;
  ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &local));
  EXPECT_EQ(((uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime) -
                ((uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime),
            9ull * 3600 * 10000000);
  FILETIME again;
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &again));
  EXPECT_EQ(again.dwLowDateTime, ft.dwLowDateTime);
  EXPECT_EQ(again.dwHighDateTime, ft.dwHighDateTime);

  const FILETIME tooLarge{0, 0x80000000};
  SetLastError(kMarker);
  EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &back));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(ClockTest, SleepOnTheManualClockAdvancesItAtOnce) {
  const DWORD tick = GetTickCount();
  Sleep(60000);
  EXPECT_EQ(GetTickCount() - tick, 60000u);
}

TEST_F(ClockTest, AlarmWakesWhenTheManualClockReachesItsDeadline) {
  vela::clock::Alarm alarm;
  const uint64_t deadline = vela::clock::Tick() + 10000;
  auto waited = std::async(std::launch::async, [&] { return alarm.WaitUntil(deadline); });
  vela::clock::Advance(9999ms);
  vela::clock::Advance(1ms);
  ASSERT_EQ(waited.wait_for(10s), std::future_status::ready);  // a watchdog only
  EXPECT_TRUE(waited.get());

  auto interrupted = std::async(std::launch::async, [&] { return alarm.WaitUntil(deadline + 1000); });
  alarm.Interrupt();
  ASSERT_EQ(interrupted.wait_for(10s), std::future_status::ready);
  EXPECT_FALSE(interrupted.get());
}

// Back on the host clock the time is the host's again, and the tick count has not gone back.
TEST_F(ClockTest, HostClockAfterManual) {
  vela::clock::Advance(std::chrono::hours(24 * 365));
  const DWORD manualTick = GetTickCount();
  vela::clock::UseHost();
  EXPECT_LT(GetTickCount() - manualTick, 1000u);

  vela::clock::SetZoneBias(0);
  SYSTEMTIME st;
  GetSystemTime(&st);
  const time_t now = time(nullptr);
  tm utc;
  gmtime_r(&now, &utc);
  EXPECT_EQ(st.wYear, utc.tm_year + 1900);
  EXPECT_EQ(st.wDayOfWeek, utc.tm_wday);
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  const int64_t seconds =
      static_cast<int64_t>(((uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime) / 10000000) -
      11644473600;
  EXPECT_LE(std::llabs(seconds - now), 2);
}

}  // namespace
