// CVLNfNetIconWnd: a status icon that shows whether the terminal is connected and, when it is,
// the wireless signal strength in four steps (icons 3005 to 3009).
//
// It polls with a window timer on the window's thread (first after 1 s when created, then
// every 2 s while connected and every 5 s while not); it does not start the notification
// thread of its notifier base.
#pragma once

#include "VelaNotifyBase.h"
#include "VLNfNetNotify.h"

class AFX_EXT_CLASS CVLNfNetIconWnd : public CVelaNotifyBase, public CVLNfNetNotify {
public:
    CVLNfNetIconWnd();
    ~CVLNfNetIconWnd() override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    void PreSubclassWindow() override;
    // Re-reads the state, chooses the icon and re-arms the poll timer.
    virtual void SetNetworkIcon();
    // Starts the WLAN settings program.
    void ShowCplProperty() override;
    void OnConnectionChanged() override;

    DECLARE_MESSAGE_MAP()
};
