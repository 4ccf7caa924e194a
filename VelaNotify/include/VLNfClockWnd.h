// CVLNfClockWnd: the local time as text ("%02d:%02d" by default), refreshed every 10 s; a tap
// opens the date and time settings. It keeps the size the application gave it.
#pragma once

#include <VLSysClock.h>
#include <atltime.h>

#include "VelaNotifyBase.h"

class AFX_EXT_CLASS CVLNfClockWnd : public CVelaNotifyBase {
public:
    CVLNfClockWnd();
    ~CVLNfClockWnd() override;

    // The format receives the hour (0 to 23) and the minute as two ints; shown from the next tick.
    void SetFormatString(LPCTSTR lpszFormat);

protected:
    void PreSubclassWindow() override;
    void DrawCustomIcon(CDC* pDC, CRect& rect) override;
    void ShowCplProperty() override;
    virtual CString FormatString(CTime& time);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT nIDEvent);

    CVLSysClock m_clock;
    CString m_strText;
    CString m_strFormat;

    DECLARE_MESSAGE_MAP()

private:
    void OnClockTimerCallback();
};
