// The network icon: a window-timer poll of the connection and the signal strength.
#include "VLNfNetIconWnd.h"

#include "VelaNotifyMessages.h"

namespace {

constexpr UINT kIconNotConnected = 3005;
constexpr UINT kPollConnectedMs = 2000;
constexpr UINT kPollNotConnectedMs = 5000;
constexpr UINT kFirstPollAfterCreateMs = 1000;

// Antenna with no bar to three bars, a quarter of the strength each.
UINT IconForStrength(WORD strength) {
    if (strength < 25) {
        return 3006;
    }
    if (strength < 50) {
        return 3007;
    }
    if (strength < 75) {
        return 3008;
    }
    return 3009;
}

}  // namespace

BEGIN_MESSAGE_MAP(CVLNfNetIconWnd, CVelaNotifyBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CVLNfNetIconWnd::CVLNfNetIconWnd() {
    m_nIconID = kIconNotConnected;
    m_bConnectOnly = FALSE;
}

CVLNfNetIconWnd::~CVLNfNetIconWnd() {
    // While this object is still whole: a thread a derived class started calls our override.
    CleanupNdisNotificationThread();
}

int CVLNfNetIconWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CVelaNotifyBase::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    TRACE(u"CVLNfNetIconWnd::SetNetworkIcon( OnCreate )\n");
    SetNetworkIcon();
    TRACE(u"CVLNfNetIconWnd::LaunchNdisNotificationThread( OnCreate )\n");
    SetTimer(VelaNotifyNetIconTimer(), kFirstPollAfterCreateMs, nullptr);
    return 0;
}

void CVLNfNetIconWnd::PreSubclassWindow() {
    CVelaNotifyBase::PreSubclassWindow();
    TRACE(u"CVLNfNetIconWnd::SetNetworkIcon( PreSubclass )\n");
    SetNetworkIcon();
    TRACE(u"CVLNfNetIconWnd::LaunchNdisNotificationThread( PreSubclass )\n");
}

void CVLNfNetIconWnd::SetNetworkIcon() {
    const UINT_PTR timer = VelaNotifyNetIconTimer();
    KillTimer(timer);
    UINT icon;
    if (m_network.IsConnected()) {
        const WORD strength = m_network.GetStrength();
        TRACE(u"CVLNfNetIconWnd::SetNetworkIcon( %d )\n", strength);
        icon = IconForStrength(strength);
        SetTimer(timer, kPollConnectedMs, nullptr);
    } else {
        TRACE(u"CVLNfNetIconWnd::SetNetworkIcon( NC )\n");
        icon = kIconNotConnected;
        SetTimer(timer, kPollNotConnectedMs, nullptr);
    }
    ChangeIcon(icon);
}

void CVLNfNetIconWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == VelaNotifyNetIconTimer()) {
        OnConnectionChanged();
        return;
    }
    CVelaNotifyBase::OnTimer(nIDEvent);
}

void CVLNfNetIconWnd::OnConnectionChanged() {
    TRACE(u"CVLNfNetIconWnd::OnConnectionChanged()\n");
    if (::IsWindow(m_hWnd)) {
        SetNetworkIcon();
    }
}

void CVLNfNetIconWnd::OnDestroy() {
    CleanupNdisNotificationThread();
    CVelaNotifyBase::OnDestroy();
}

void CVLNfNetIconWnd::ShowCplProperty() {
    m_network.ShowProperty(m_hWnd);
}
