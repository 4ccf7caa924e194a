// The clock window: the text at chosen times on the manual clock, the 10 s tick that repaints
// every time, a replaced format from the next tick on, and the text centred in its window.
#include <afxdialog.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "NotifyTestSupport.h"
#include "VelaNotifyMessages.h"
#include "data/NotifyTestIds.h"

namespace notifytest {
namespace {

class ClockProbe : public Probe<CVLNfClockWnd> {
public:
    CString Text() const { return m_strText; }
    int m_nFormats = 0;

protected:
    CString FormatString(CTime& time) override {
        ++m_nFormats;
        return CVLNfClockWnd::FormatString(time);
    }
};

class ClockWindow : public NotifyTest {
protected:
    static void SetLocalTime(WORD hour, WORD minute, WORD second = 0) {
        SYSTEMTIME t{2026, 12, 1, 7, hour, minute, second, 0};
        vela::clock::UseManual(t);  // the zone bias is 0: local time is UTC
    }
};

TEST_F(ClockWindow, ShowsHoursAndMinutesWithLeadingZeros) {
    const struct {
        WORD hour, minute;
        const char16_t* text;
    } rows[] = {{9, 5, u"09:05"}, {23, 59, u"23:59"}, {0, 0, u"00:00"}};
    for (const auto& row : rows) {
        SetLocalTime(row.hour, row.minute, 30);
        ClockProbe clock;
        EXPECT_TRUE(clock.Text().IsEmpty());
        ASSERT_TRUE(CreateChild(clock, m_host, 0, 0, 60, 20));
        EXPECT_EQ(clock.Text(), CString(row.text));
        EXPECT_EQ(clock.Size(), IconSizeWindow);
        EXPECT_EQ(WindowRectOf(clock).Size(), CSize(60, 20));
        clock.DestroyWindow();
    }
}

TEST_F(ClockWindow, TicksEveryTenSecondsAndRepaintsEvenWhenUnchanged) {
    SetLocalTime(9, 5, 0);
    ClockProbe clock;
    ASSERT_TRUE(CreateChild(clock, m_host, 0, 0, 60, 20));
    Pump();
    // Creation through the class library also subclasses: the text may be filled twice then.
    const int formats = clock.m_nFormats;
    EXPECT_GE(formats, 1);
    const int paints = clock.m_nPaints;

    Advance(9999);
    EXPECT_EQ(clock.m_nFormats, formats);
    EXPECT_EQ(clock.m_nPaints, paints);
    Advance(1);
    EXPECT_EQ(clock.m_nFormats, formats + 1);
    EXPECT_EQ(clock.m_nPaints, paints + 1);  // same text, painted again
    EXPECT_EQ(clock.Text(), CString(u"09:05"));

    // The minute changes at 09:06:00; the window sees it at its next tick, 09:06:00 here.
    for (int i = 0; i < 5; ++i) Advance(10000);
    EXPECT_EQ(clock.Text(), CString(u"09:06"));
    EXPECT_EQ(clock.m_nFormats, formats + 6);
}

TEST_F(ClockWindow, OtherTimersGoToTheDefaultHandling) {
    SetLocalTime(9, 5, 0);
    ClockProbe clock;
    ASSERT_TRUE(CreateChild(clock, m_host, 0, 0, 60, 20));
    const int formats = clock.m_nFormats;
    clock.SetTimer(77, 100, nullptr);
    Advance(100);
    EXPECT_EQ(clock.m_nFormats, formats);
    clock.KillTimer(77);
}

TEST_F(ClockWindow, NewFormatShowsFromTheNextTick) {
    SetLocalTime(9, 5, 0);
    ClockProbe clock;
    ASSERT_TRUE(CreateChild(clock, m_host, 0, 0, 60, 20));
    clock.SetFormatString(u"%d時");
    Pump();
    EXPECT_EQ(clock.Text(), CString(u"09:05"));
    Advance(10000);
    EXPECT_EQ(clock.Text(), CString(u"9時"));

    // More conversions than the two numbers given: the extra ones write nothing.
    clock.SetFormatString(u"%02d:%02d:%02d %s");
    Advance(10000);
    EXPECT_EQ(clock.Text(), CString(u"09:05: "));
}

// The bounding box of the pixels that differ from the background inside rect.
CRect InkBox(const CRect& rect, std::uint32_t background) {
    CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (vela::screen::Pixel(x, y) != background) {
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x + 1);
                box.bottom = std::max<int>(box.bottom, y + 1);
            }
    return box;
}

TEST_F(ClockWindow, TextIsCentredInItsWindow) {
    SetLocalTime(23, 59, 0);
    ClockProbe clock;
    clock.SetBkColor(RGB(0xFF, 0xFF, 0xFF));
    ASSERT_TRUE(CreateChild(clock, m_host, 100, 50, 60, 20));
    Pump();
    const CRect window(100, 50, 160, 70);
    const CRect ink = InkBox(window, 0xFFFFFF);
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_LE(std::abs((ink.left - window.left) - (window.right - ink.right)), 1) << ink.left << ".." << ink.right;
    EXPECT_LE(std::abs((ink.top - window.top) - (window.bottom - ink.bottom)), 3) << ink.top << ".." << ink.bottom;
}

TEST_F(ClockWindow, SubclassedControlKeepsTheTemplatesSizeAndUsesTheDialogsFont) {
    SetLocalTime(9, 5, 0);
    ClockProbe clock;
    CRect laidOut;
    CInitDialog dialog;
    dialog.m_onInit = [&](CDialog& d) {
        d.GetDlgItem(IDC_CLOCK)->GetWindowRect(&laidOut);
        EXPECT_TRUE(clock.SubclassDlgItem(IDC_CLOCK, &d));
    };
    ASSERT_TRUE(dialog.Create(IDD_STATUS, &m_host));
    EXPECT_EQ(WindowRectOf(clock), laidOut);
    EXPECT_EQ(clock.Text(), CString(u"09:05"));
    EXPECT_EQ(clock.GetFont()->GetSafeHandle(), dialog.GetFont()->GetSafeHandle());
    const int formats = clock.m_nFormats;
    Advance(10000);
    EXPECT_EQ(clock.m_nFormats, formats + 1);
    dialog.DestroyWindow();
}

TEST_F(ClockWindow, TapOpensTheDateAndTimePage) {
    SetLocalTime(9, 5, 0);
    ClockProbe clock;
    ASSERT_TRUE(CreateChild(clock, m_host, 0, 0, 60, 20));
    Pump();
    vela::input::Tap(30, 10);
    Pump();
    EXPECT_EQ(clock.m_nTaps, 1);
    const auto records = vela::terminal::Get().GetRecords();
    ASSERT_EQ(records.shellExecutes.size(), 1u);
    EXPECT_NE(records.shellExecutes[0].parameters.find(u",13"), std::u16string::npos);
}

}  // namespace
}  // namespace notifytest
