// CVLNfBatteryIconWnd: a status icon that shows external power or the battery charge in four
// steps (icons 3000 to 3004). Its notifier thread runs from the window's creation (or
// subclassing) until the window is destroyed; the icon follows each power-information change
// and is not polled.
#pragma once

#include "VelaNotifyBase.h"
#include "VLNfBatteryNotify.h"

class AFX_EXT_CLASS CVLNfBatteryIconWnd : public CVelaNotifyBase, public CVLNfBatteryNotify {
public:
    CVLNfBatteryIconWnd();
    ~CVLNfBatteryIconWnd() override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    // Runs on the notifier thread too: it stores the icon and only asks for a repaint.
    void SetBatteryIcon(SYSTEM_POWER_STATUS_EX* pStatus);

    void PreSubclassWindow() override;
    // Opens the power page of the control panel.
    void ShowCplProperty() override;
    void OnBatteryChanged(SYSTEM_POWER_STATUS_EX* pStatus) override;

    DECLARE_MESSAGE_MAP()

private:
    // What creation and subclassing share: the thread, the status now, one repaint.
    void StartFollowing();
};
