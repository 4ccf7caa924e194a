// The battery icon: driven by the notifier thread, no polling.
#include "VLNfBatteryIconWnd.h"

#include <cstring>

namespace {

constexpr UINT kIconExternalPower = 3000;
constexpr UINT kIconEmpty = 3004;

// Tested in this order: external power, the battery flag's level bits, then the percentage.
// The higher flag bits (charging, no battery) play no part.
UINT IconForStatus(const SYSTEM_POWER_STATUS_EX& status) {
    if (status.ACLineStatus == AC_LINE_ONLINE) {
        return kIconExternalPower;
    }
    switch (status.BatteryFlag & 0x07) {
        case BATTERY_FLAG_HIGH:
            return 3001;
        case BATTERY_FLAG_LOW:
            return 3002;
        case 0:
            break;
        default:
            return 3003;  // critical, and unknown (0xFF)
    }
    const BYTE percent = status.BatteryLifePercent;
    if (percent < 25) {
        return kIconEmpty;
    }
    if (percent < 50) {
        return 3003;
    }
    if (percent < 75) {
        return 3002;
    }
    return 3001;  // unknown percentage (255) included
}

}  // namespace

BEGIN_MESSAGE_MAP(CVLNfBatteryIconWnd, CVelaNotifyBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CVLNfBatteryIconWnd::CVLNfBatteryIconWnd() {
    m_nIconID = kIconEmpty;
}

CVLNfBatteryIconWnd::~CVLNfBatteryIconWnd() {
    // While this object is still whole: the thread calls our override of OnBatteryChanged.
    CleanupBatteryNotificationThread();
}

int CVLNfBatteryIconWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CVelaNotifyBase::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    StartFollowing();
    return 0;
}

void CVLNfBatteryIconWnd::PreSubclassWindow() {
    CVelaNotifyBase::PreSubclassWindow();
    StartFollowing();
}

void CVLNfBatteryIconWnd::StartFollowing() {
    LaunchBatteryNotificationThread();  // without it the icon shows the status read now
    SYSTEM_POWER_STATUS_EX status;
    std::memset(&status, 0, sizeof status);
    GetSystemPowerStatusEx(&status, TRUE);
    SetBatteryIcon(&status);
    Invalidate(TRUE);
}

void CVLNfBatteryIconWnd::SetBatteryIcon(SYSTEM_POWER_STATUS_EX* pStatus) {
    ChangeIcon(IconForStatus(*pStatus));
}

void CVLNfBatteryIconWnd::OnBatteryChanged(SYSTEM_POWER_STATUS_EX* pStatus) {
    SetBatteryIcon(pStatus);
}

void CVLNfBatteryIconWnd::OnDestroy() {
    CleanupBatteryNotificationThread();
    CVelaNotifyBase::OnDestroy();
}

void CVLNfBatteryIconWnd::ShowCplProperty() {
    m_power.ShowProperty(m_hWnd);
}
