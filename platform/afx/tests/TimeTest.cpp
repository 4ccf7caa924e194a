// CTime and CTimeSpan: local calendar fields from the platform's zone, carrying of out-of-range
// fields, and Format's codes.
#include <gtest/gtest.h>

#include <atltime.h>
#include <vela/Clock.h>

#include <string>

namespace {

std::string Narrow(const CString& s) {
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i) out += static_cast<char>(s[i]);
    return out;
}

// Japan's zone (UTC+9) on a manual clock standing at 2026-03-04 23:30:05 UTC, a Wednesday.
class TimeTest : public ::testing::Test {
protected:
    TimeTest() {
        vela::clock::SetZoneBias(-540);
        vela::clock::UseManual(SYSTEMTIME{2026, 3, 0, 4, 23, 30, 5, 250});
    }
    ~TimeTest() override {
        vela::clock::UseHost();
        vela::clock::SetZoneBias(std::nullopt);
    }
};

TEST_F(TimeTest, CurrentTimeIsLocalInTheTerminalsZone) {
    const CTime now = CTime::GetCurrentTime();
    EXPECT_EQ(now.GetTime(), 1772667005);
    EXPECT_EQ(now.GetYear(), 2026);
    EXPECT_EQ(now.GetMonth(), 3);
    EXPECT_EQ(now.GetDay(), 5);  // already the next day in Japan
    EXPECT_EQ(now.GetHour(), 8);
    EXPECT_EQ(now.GetMinute(), 30);
    EXPECT_EQ(now.GetSecond(), 5);
    EXPECT_EQ(now.GetDayOfWeek(), 5);  // Thursday
    SYSTEMTIME st{};
    ASSERT_TRUE(now.GetAsSystemTime(st));
    EXPECT_EQ(st.wDay, 5);
    EXPECT_EQ(st.wMilliseconds, 0);
}

TEST_F(TimeTest, ConstructorsAgreeOnTheSameMoment) {
    const CTime fromFields(2026, 3, 5, 8, 30, 5);
    EXPECT_EQ(fromFields, CTime::GetCurrentTime());
    const CTime fromSystemTime(SYSTEMTIME{2026, 3, 0, 5, 8, 30, 5, 999});
    EXPECT_EQ(fromSystemTime, fromFields);

    // FILETIME is UTC: 2026-03-04 23:30:05.
    const ULONGLONG ticks = (1772667005ULL + 11644473600ULL) * 10000000ULL + 1234567ULL;
    const FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    EXPECT_EQ(CTime(ft), fromFields);

    // DOS date and time: 2026-03-05 08:30:04 (two-second steps).
    const WORD dosDate = static_cast<WORD>(((2026 - 1980) << 9) | (3 << 5) | 5);
    const WORD dosTime = static_cast<WORD>((8 << 11) | (30 << 5) | 2);
    EXPECT_EQ(CTime(dosDate, dosTime).GetTime(), fromFields.GetTime() - 1);
}

TEST_F(TimeTest, OutOfRangeFieldsCarryOverAndImpossibleOnesGiveZero) {
    EXPECT_EQ(CTime(2026, 1, 32, 0, 0, 0), CTime(2026, 2, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2025, 13, 1, 0, 0, 0), CTime(2026, 1, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2026, 0, 1, 0, 0, 0), CTime(2025, 12, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2026, 3, 1, 24, 0, -1), CTime(2026, 3, 1, 23, 59, 59));
    EXPECT_EQ(CTime(2026, 2, 28, 24, 0, 0), CTime(2026, 3, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2024, 2, 29, 12, 0, 0).GetDay(), 29);  // leap day stays
    EXPECT_EQ(CTime(1601, 1, 1, 0, 0, 0).GetTime(), 0);
    EXPECT_EQ(CTime(SYSTEMTIME{1800, 1, 0, 1, 0, 0, 0, 0}).GetTime(), 0);
}

TEST_F(TimeTest, FormatCodes) {
    const CTime t(2026, 3, 5, 8, 30, 5);
    EXPECT_EQ(Narrow(t.Format(u"%Y-%m-%d %H:%M:%S")), "2026-03-05 08:30:05");
    EXPECT_EQ(Narrow(t.Format(u"%a %A %b %B")), "Thu Thursday Mar March");
    EXPECT_EQ(Narrow(t.Format(u"%#m/%#d %I%p %y")), "3/5 08AM 26");
    EXPECT_EQ(Narrow(t.Format(u"%c|%x|%X")), "03/05/26 08:30:05|03/05/26|08:30:05");
    EXPECT_EQ(Narrow(t.Format(u"%#x")), "Thursday, March 5, 2026");
    EXPECT_EQ(Narrow(t.Format(u"%j %w %U %W")), "064 4 09 09");
    EXPECT_EQ(Narrow(t.Format(u"%z 100%%")), "+0900 100%");
    EXPECT_EQ(Narrow(t.FormatGmt(u"%d %H:%M %z")), "04 23:30 +0000");
    EXPECT_EQ(Narrow(CTime(2026, 3, 5, 0, 15, 0).Format(u"%I:%M %p")), "12:15 AM");
    EXPECT_EQ(Narrow(CTime(2026, 3, 5, 12, 15, 0).Format(u"%I:%M %p")), "12:15 PM");
    // Japanese text around the codes passes through unchanged.
    EXPECT_EQ(t.Format(u"%Y年%#m月%#d日"), CString(u"2026年3月5日"));
    // Not a code, and a lone percent sign at the end.
    EXPECT_EQ(Narrow(t.Format(u"%q %")), "%q %");
}

TEST(TimeSpanTest, PartsAndFormat) {
    const CTimeSpan span(3, 4, 5, 6);
    EXPECT_EQ(span.GetTotalSeconds(), ((3 * 24 + 4) * 60 + 5) * 60 + 6);
    EXPECT_EQ(span.GetDays(), 3);
    EXPECT_EQ(span.GetHours(), 4);
    EXPECT_EQ(span.GetTotalHours(), 76);
    EXPECT_EQ(span.GetMinutes(), 5);
    EXPECT_EQ(span.GetSeconds(), 6);
    EXPECT_EQ(Narrow(span.Format(u"%D days %H:%M:%S, 100%%")), "3 days 04:05:06, 100%");
    EXPECT_EQ(CTime(100) - CTime(40), CTimeSpan(60));
    EXPECT_EQ((CTime(100) - CTimeSpan(0, 0, 1, 0)).GetTime(), 40);
}

}  // namespace
