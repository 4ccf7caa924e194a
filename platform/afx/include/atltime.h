// Points of time and spans of the class library (CTime, CTimeSpan), to the second. Calendar
// fields are in the terminal's local time, taken from the platform clock and its time zone.
#pragma once

#include <ctime>

#include <windows.h>

#include "afxstr.h"

class CTimeSpan {
public:
    CTimeSpan() noexcept = default;
    CTimeSpan(time_t time) noexcept : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept;

    LONGLONG GetDays() const noexcept { return m_timeSpan / (24 * 3600); }
    LONGLONG GetTotalHours() const noexcept { return m_timeSpan / 3600; }
    LONG GetHours() const noexcept { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
    LONGLONG GetTotalMinutes() const noexcept { return m_timeSpan / 60; }
    LONG GetMinutes() const noexcept { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
    LONGLONG GetTotalSeconds() const noexcept { return m_timeSpan; }
    LONG GetSeconds() const noexcept { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }
    time_t GetTimeSpan() const noexcept { return m_timeSpan; }

    // %D days, %H hours (0-23), %M minutes, %S seconds, %% a percent sign.
    CString Format(LPCTSTR pFormat) const;

    CTimeSpan operator+(CTimeSpan span) const noexcept { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan span) const noexcept { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan span) noexcept { m_timeSpan += span.m_timeSpan; return *this; }
    CTimeSpan& operator-=(CTimeSpan span) noexcept { m_timeSpan -= span.m_timeSpan; return *this; }
    bool operator==(CTimeSpan span) const noexcept { return m_timeSpan == span.m_timeSpan; }
    bool operator!=(CTimeSpan span) const noexcept { return m_timeSpan != span.m_timeSpan; }
    bool operator<(CTimeSpan span) const noexcept { return m_timeSpan < span.m_timeSpan; }
    bool operator>(CTimeSpan span) const noexcept { return m_timeSpan > span.m_timeSpan; }
    bool operator<=(CTimeSpan span) const noexcept { return m_timeSpan <= span.m_timeSpan; }
    bool operator>=(CTimeSpan span) const noexcept { return m_timeSpan >= span.m_timeSpan; }

private:
    time_t m_timeSpan = 0;
};

// Seconds since 1970-01-01 00:00 UTC. The constructors from calendar fields take local time and
// carry out-of-range fields over as the C library's mktime does (day 32 of January is 1 February);
// fields that cannot describe a time at all (a year before 1970 or after 3000) give time 0.
class CTime {
public:
    static CTime GetCurrentTime() noexcept;
    static BOOL IsValidFILETIME(const FILETIME& ft) noexcept;

    CTime() noexcept = default;
    CTime(time_t time) noexcept : m_time(time) {}
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1) noexcept;
    CTime(WORD wDosDate, WORD wDosTime, int nDST = -1) noexcept;
    CTime(const SYSTEMTIME& st, int nDST = -1) noexcept;
    CTime(const FILETIME& ft, int nDST = -1) noexcept;

    time_t GetTime() const noexcept { return m_time; }
    int GetYear() const noexcept;
    int GetMonth() const noexcept;
    int GetDay() const noexcept;
    int GetHour() const noexcept;
    int GetMinute() const noexcept;
    int GetSecond() const noexcept;
    int GetDayOfWeek() const noexcept;  // 1 = Sunday ... 7 = Saturday
    // Local time; FALSE outside the range SYSTEMTIME can hold.
    bool GetAsSystemTime(SYSTEMTIME& st) const noexcept;

    // strftime's codes in the "C" locale: %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X
    // %y %Y %z %Z %%; '#' after '%' drops leading zeros (%#d) or gives the long form (%#c, %#x).
    CString Format(LPCTSTR pszFormat) const;
    CString FormatGmt(LPCTSTR pszFormat) const;

    CTime& operator+=(CTimeSpan span) noexcept { m_time += span.GetTimeSpan(); return *this; }
    CTime& operator-=(CTimeSpan span) noexcept { m_time -= span.GetTimeSpan(); return *this; }
    CTimeSpan operator-(CTime time) const noexcept { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan span) const noexcept { return CTime(m_time - span.GetTimeSpan()); }
    CTime operator+(CTimeSpan span) const noexcept { return CTime(m_time + span.GetTimeSpan()); }
    bool operator==(CTime time) const noexcept { return m_time == time.m_time; }
    bool operator!=(CTime time) const noexcept { return m_time != time.m_time; }
    bool operator<(CTime time) const noexcept { return m_time < time.m_time; }
    bool operator>(CTime time) const noexcept { return m_time > time.m_time; }
    bool operator<=(CTime time) const noexcept { return m_time <= time.m_time; }
    bool operator>=(CTime time) const noexcept { return m_time >= time.m_time; }

private:
    time_t m_time = 0;
};
