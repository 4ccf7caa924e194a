// Calendar fields of the platform clock's points (milliseconds since 1601-01-01 UTC).
#include <vela/Clock.h>

namespace vela::clock {
namespace {

constexpr Milliseconds kMsPerDay = 86400000;
// Days from 0000-03-01 to 1970-01-01, less those from 1601-01-01 to 1970-01-01.
constexpr int64_t kMarchZeroTo1601 = 719468 - 134774;

constexpr bool IsLeap(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

constexpr int DaysInMonth(int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1601-01-01 of a date of the proleptic Gregorian calendar, counted in eras of
// 400 years from March 1st so that the leap day ends a year.
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - kMarchZeroTo1601;
}

struct Civil {
  int64_t year;
  int month;
  int day;
};

constexpr Civil CivilFromDays(int64_t days) {
  const int64_t z = days + kMarchZeroTo1601;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

static_assert(DaysFromCivil(1601, 1, 1) == 0);
static_assert(DaysFromCivil(1970, 1, 1) == 134774);

}  // namespace

SYSTEMTIME ToSystemTime(Milliseconds point) {
  int64_t days = point / kMsPerDay;
  int64_t inDay = point % kMsPerDay;
  if (inDay < 0) {
    inDay += kMsPerDay;
    --days;
  }
  const Civil date = CivilFromDays(days);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  // 1601-01-01 was a Monday; Sunday is 0.
  st.wDayOfWeek = static_cast<WORD>(((days + 1) % 7 + 7) % 7);
  st.wHour = static_cast<WORD>(inDay / 3600000);
  st.wMinute = static_cast<WORD>(inDay / 60000 % 60);
  st.wSecond = static_cast<WORD>(inDay / 1000 % 60);
  st.wMilliseconds = static_cast<WORD>(inDay % 1000);
  return st;
}

bool FromSystemTime(const SYSTEMTIME& st, Milliseconds& point) {
  if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
      st.wDay > DaysInMonth(st.wYear, st.wMonth) || st.wHour > 23 || st.wMinute > 59 ||
      st.wSecond > 59 || st.wMilliseconds > 999) {
    return false;
  }
  point = DaysFromCivil(st.wYear, st.wMonth, st.wDay) * kMsPerDay + st.wHour * 3600000LL +
          st.wMinute * 60000LL + st.wSecond * 1000LL + st.wMilliseconds;
  return true;
}

}  // namespace vela::clock
