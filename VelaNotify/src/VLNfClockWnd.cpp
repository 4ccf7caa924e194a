// CVLNfClockWnd: the local time as centred text, refreshed on a 10 s window timer.
#include "VLNfClockWnd.h"

#include "VelaNotifyMessages.h"

BEGIN_MESSAGE_MAP(CVLNfClockWnd, CVelaNotifyBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
const UINT kClockPeriodMs = 10000;
}

CVLNfClockWnd::CVLNfClockWnd() : m_strFormat(u"%02d:%02d") { m_nIconSize = IconSizeWindow; }

CVLNfClockWnd::~CVLNfClockWnd() = default;

void CVLNfClockWnd::SetFormatString(LPCTSTR lpszFormat) { m_strFormat = lpszFormat; }

int CVLNfClockWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CVelaNotifyBase::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    OnTimer(VelaNotifyTimeIconTimer());  // fills the text at once and starts the timer
    return 0;
}

void CVLNfClockWnd::PreSubclassWindow() {
    CVelaNotifyBase::PreSubclassWindow();
    OnTimer(VelaNotifyTimeIconTimer());
}

void CVLNfClockWnd::OnTimer(UINT nIDEvent) {
    const UINT timer = VelaNotifyTimeIconTimer();
    if (nIDEvent != timer) {
        CVelaNotifyBase::OnTimer(nIDEvent);
        return;
    }
    KillTimer(timer);
    OnClockTimerCallback();
    SetTimer(timer, kClockPeriodMs, nullptr);
}

void CVLNfClockWnd::OnClockTimerCallback() {
    if (!::IsWindow(m_hWnd)) {
        return;
    }
    CTime now = CTime::GetCurrentTime();
    m_strText = FormatString(now);
    Invalidate(TRUE);  // every tick repaints, changed or not
}

CString CVLNfClockWnd::FormatString(CTime& time) {
    CString text;
    // The formatter takes typed arguments: a format asking for more than these two reads nothing.
    text.Format(static_cast<LPCTSTR>(m_strFormat), time.GetHour(), time.GetMinute());
    return text;
}

void CVLNfClockWnd::DrawCustomIcon(CDC* pDC, CRect& rect) {
    pDC->FillSolidRect(&rect, m_crBkColor);
    CFont* font = GetFont();
    CFont* oldFont = font != nullptr ? pDC->SelectObject(font) : nullptr;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strText, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(oldMode);
    if (oldFont != nullptr) {
        pDC->SelectObject(oldFont);
    }
}

void CVLNfClockWnd::OnDestroy() { CVelaNotifyBase::OnDestroy(); }

void CVLNfClockWnd::ShowCplProperty() { m_clock.ShowProperty(m_hWnd); }
