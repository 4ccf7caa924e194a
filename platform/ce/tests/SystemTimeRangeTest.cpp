// The terminal's clock at the two ends of the platform's calendar.
#include <gtest/gtest.h>
#include <sysinfoapi.h>
#include <vela/Clock.h>

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
  return SYSTEMTIME{year, month, 0, day, hour, minute, second, ms};
}

bool Same(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

class SystemTimeRangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vela::clock::UseManual(At(2026, 12, 7, 9, 0, 0, 0));
    vela::clock::SetZoneBias(-540);
  }
  void TearDown() override {
    vela::clock::SetZoneBias(std::nullopt);
    vela::clock::UseHost();
  }
};

TEST_F(SystemTimeRangeTest, TheFirstAndLastMillisecondCanBeSetAndReadBack) {
  for (const SYSTEMTIME& edge : {At(1601, 1, 1, 0, 0, 0, 0), At(30827, 12, 31, 23, 59, 59, 999)}) {
    SCOPED_TRACE(edge.wYear);
    ASSERT_TRUE(SetSystemTime(&edge));
    SYSTEMTIME now;
    GetSystemTime(&now);
    EXPECT_TRUE(Same(now, edge));
  }
  const SYSTEMTIME beyond = At(30828, 1, 1, 0, 0, 0, 0);
  SetLastError(0);
  EXPECT_FALSE(SetSystemTime(&beyond));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SystemTimeRangeTest, LocalTimesWhoseUtcFallsOutsideAreRefused) {
  // 1601-01-01 09:00 local is the first UTC millisecond; anything earlier has no UTC time.
  const SYSTEMTIME first = At(1601, 1, 1, 9, 0, 0, 0);
  EXPECT_TRUE(SetLocalTime(&first));
  const SYSTEMTIME early = At(1601, 1, 1, 8, 59, 59, 999);
  SetLastError(0);
  EXPECT_FALSE(SetLocalTime(&early));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SYSTEMTIME now;
  GetSystemTime(&now);
  EXPECT_TRUE(Same(now, At(1601, 1, 1, 0, 0, 0, 0)));  // the refused call changed nothing
}

}  // namespace
