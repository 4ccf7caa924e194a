// CTime and CTimeSpan over the platform clock and calendar.
#include <string>

#include <vela/Clock.h>

#include "atltime.h"

namespace {

using vela::clock::Milliseconds;

// Seconds from 1601-01-01 (the platform clock's epoch) to 1970-01-01.
constexpr LONGLONG kUnixEpochSeconds = 11644473600LL;
constexpr Milliseconds kMsPerDay = 86400000LL;

Milliseconds PointFromTime(time_t t) { return (static_cast<Milliseconds>(t) + kUnixEpochSeconds) * 1000; }

time_t TimeFromPoint(Milliseconds point) {
    Milliseconds seconds = point / 1000;
    if (point % 1000 < 0) --seconds;
    return static_cast<time_t>(seconds - kUnixEpochSeconds);
}

// Local time from calendar fields, carrying over out-of-range fields; 0 when the year is out of reach.
time_t TimeFromLocalFields(int year, int month, int day, int hour, int minute, int second) {
    const int monthIndex = month - 1;
    int carry = monthIndex / 12;
    if (monthIndex % 12 < 0) --carry;
    year += carry;
    month = monthIndex - carry * 12 + 1;
    if (year < 1970 || year > 3000) return 0;
    SYSTEMTIME first{static_cast<WORD>(year), static_cast<WORD>(month), 0, 1, 0, 0, 0, 0};
    Milliseconds local = 0;
    if (!vela::clock::FromSystemTime(first, local)) return 0;
    local += ((static_cast<Milliseconds>(day) - 1) * 86400 + static_cast<Milliseconds>(hour) * 3600 +
              static_cast<Milliseconds>(minute) * 60 + second) * 1000;
    const time_t t = TimeFromPoint(vela::clock::UtcFromLocal(local));
    return t < 0 ? 0 : t;
}

struct Fields {
    SYSTEMTIME st{};
    int yearDay = 0;        // 0-based
    int biasMinutes = 0;    // local minus UTC
};

Fields FieldsOf(time_t t, bool local) {
    const Milliseconds utc = PointFromTime(t);
    const Milliseconds point = local ? vela::clock::LocalFromUtc(utc) : utc;
    Fields f;
    f.st = vela::clock::ToSystemTime(point);
    f.biasMinutes = static_cast<int>((point - utc) / 60000);
    SYSTEMTIME jan1{f.st.wYear, 1, 0, 1, 0, 0, 0, 0};
    Milliseconds start = 0;
    if (vela::clock::FromSystemTime(jan1, start)) f.yearDay = static_cast<int>((point - start) / kMsPerDay);
    return f;
}

const char16_t* const kDayNames[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
const char16_t* const kMonthNames[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                       u"July",    u"August",   u"September", u"October", u"November", u"December"};

void AppendNumber(std::u16string& out, long long value, int width, bool trimZeros) {
    std::u16string digits;
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v != 0);
    if (!trimZeros) {
        while (static_cast<int>(digits.size()) < width) digits.insert(digits.begin(), u'0');
    }
    if (negative) out += u'-';
    out += digits;
}

void FormatInto(std::u16string& out, const char16_t* format, const Fields& f);

void AppendCode(std::u16string& out, char16_t code, bool alternate, const Fields& f) {
    const SYSTEMTIME& st = f.st;
    const int hour12 = st.wHour % 12 == 0 ? 12 : st.wHour % 12;
    switch (code) {
        case u'a': out.append(kDayNames[st.wDayOfWeek], 3); break;
        case u'A': out += kDayNames[st.wDayOfWeek]; break;
        case u'b': out.append(kMonthNames[st.wMonth - 1], 3); break;
        case u'B': out += kMonthNames[st.wMonth - 1]; break;
        case u'c': FormatInto(out, alternate ? u"%A, %B %#d, %Y %H:%M:%S" : u"%m/%d/%y %H:%M:%S", f); break;
        case u'd': AppendNumber(out, st.wDay, 2, alternate); break;
        case u'H': AppendNumber(out, st.wHour, 2, alternate); break;
        case u'I': AppendNumber(out, hour12, 2, alternate); break;
        case u'j': AppendNumber(out, f.yearDay + 1, 3, alternate); break;
        case u'm': AppendNumber(out, st.wMonth, 2, alternate); break;
        case u'M': AppendNumber(out, st.wMinute, 2, alternate); break;
        case u'p': out += st.wHour < 12 ? u"AM" : u"PM"; break;
        case u'S': AppendNumber(out, st.wSecond, 2, alternate); break;
        case u'U': AppendNumber(out, (f.yearDay + 7 - st.wDayOfWeek) / 7, 2, alternate); break;
        case u'w': AppendNumber(out, st.wDayOfWeek, 1, alternate); break;
        case u'W': AppendNumber(out, (f.yearDay + 7 - (st.wDayOfWeek + 6) % 7) / 7, 2, alternate); break;
        case u'x': FormatInto(out, alternate ? u"%A, %B %#d, %Y" : u"%m/%d/%y", f); break;
        case u'X': FormatInto(out, u"%H:%M:%S", f); break;
        case u'y': AppendNumber(out, st.wYear % 100, 2, alternate); break;
        case u'Y': AppendNumber(out, st.wYear, 4, alternate); break;
        case u'z':
        case u'Z': {
            // The platform keeps a bias, not a zone name, so both give the offset.
            const int bias = f.biasMinutes < 0 ? -f.biasMinutes : f.biasMinutes;
            out += f.biasMinutes < 0 ? u'-' : u'+';
            AppendNumber(out, bias / 60 * 100 + bias % 60, 4, false);
            break;
        }
        case u'%': out += u'%'; break;
        default:
            // Not a code: kept as written, so a wrong format shows in the output.
            out += u'%';
            if (alternate) out += u'#';
            out += code;
            break;
    }
}

void FormatInto(std::u16string& out, const char16_t* format, const Fields& f) {
    for (const char16_t* p = format; *p != 0; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
        bool alternate = false;
        if (p[1] == u'#') {
            alternate = true;
            ++p;
        }
        if (p[1] == 0) {
            out += alternate ? u"%#" : u"%";
            break;
        }
        ++p;
        AppendCode(out, *p, alternate, f);
    }
}

CString FormatTime(time_t t, LPCTSTR format, bool local) {
    if (format == nullptr) return CString();
    std::u16string out;
    FormatInto(out, format, FieldsOf(t, local));
    return CString(out.c_str(), static_cast<int>(out.size()));
}

}  // namespace

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept
    : m_timeSpan(static_cast<time_t>(((static_cast<LONGLONG>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs)) {}

CString CTimeSpan::Format(LPCTSTR pFormat) const {
    if (pFormat == nullptr) return CString();
    std::u16string out;
    for (const char16_t* p = pFormat; *p != 0; ++p) {
        if (*p != u'%' || p[1] == 0) {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
            case u'D': AppendNumber(out, GetDays(), 1, false); break;
            case u'H': AppendNumber(out, GetHours(), 2, false); break;
            case u'M': AppendNumber(out, GetMinutes(), 2, false); break;
            case u'S': AppendNumber(out, GetSeconds(), 2, false); break;
            default: out += *p; break;
        }
    }
    return CString(out.c_str(), static_cast<int>(out.size()));
}

CTime CTime::GetCurrentTime() noexcept { return CTime(TimeFromPoint(vela::clock::UtcNow())); }

BOOL CTime::IsValidFILETIME(const FILETIME& ft) noexcept {
    const ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000000ULL >= static_cast<ULONGLONG>(kUnixEpochSeconds) ? TRUE : FALSE;
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int) noexcept
    : m_time(TimeFromLocalFields(nYear, nMonth, nDay, nHour, nMin, nSec)) {}

CTime::CTime(WORD wDosDate, WORD wDosTime, int) noexcept
    : m_time(TimeFromLocalFields((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0x0F, wDosDate & 0x1F, wDosTime >> 11,
                                 (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2)) {}

CTime::CTime(const SYSTEMTIME& st, int) noexcept
    : m_time(st.wYear < 1900 ? 0 : TimeFromLocalFields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond)) {}

// A FILETIME is UTC already: no trip through local fields, which would be ambiguous once a year.
CTime::CTime(const FILETIME& ft, int) noexcept {
    const ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const LONGLONG seconds = static_cast<LONGLONG>(ticks / 10000000ULL) - kUnixEpochSeconds;
    m_time = seconds < 0 ? 0 : static_cast<time_t>(seconds);
}

int CTime::GetYear() const noexcept { return FieldsOf(m_time, true).st.wYear; }
int CTime::GetMonth() const noexcept { return FieldsOf(m_time, true).st.wMonth; }
int CTime::GetDay() const noexcept { return FieldsOf(m_time, true).st.wDay; }
int CTime::GetHour() const noexcept { return FieldsOf(m_time, true).st.wHour; }
int CTime::GetMinute() const noexcept { return FieldsOf(m_time, true).st.wMinute; }
int CTime::GetSecond() const noexcept { return FieldsOf(m_time, true).st.wSecond; }
int CTime::GetDayOfWeek() const noexcept { return FieldsOf(m_time, true).st.wDayOfWeek + 1; }

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const noexcept {
    if (PointFromTime(m_time) < 0) return false;
    st = FieldsOf(m_time, true).st;
    st.wMilliseconds = 0;
    return true;
}

CString CTime::Format(LPCTSTR pszFormat) const { return FormatTime(m_time, pszFormat, true); }
CString CTime::FormatGmt(LPCTSTR pszFormat) const { return FormatTime(m_time, pszFormat, false); }
