// CVLNfIMEIconWnd: the conversion state of the input method as an icon.
#include "VLNfIMEIconWnd.h"

#include "VelaNotifyMessages.h"

BEGIN_MESSAGE_MAP(CVLNfIMEIconWnd, CVelaNotifyBase)
    ON_WM_CREATE()
    ON_REGISTERED_MESSAGE(g_nVelaNotifySyncImeStatusMessage, OnSyncIMEStatus)
END_MESSAGE_MAP()

CVLNfIMEIconWnd::CVLNfIMEIconWnd() { m_nIconID = 3010; }

CVLNfIMEIconWnd::~CVLNfIMEIconWnd() = default;

int CVLNfIMEIconWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CVelaNotifyBase::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    SetImeIcon();
    return 0;
}

void CVLNfIMEIconWnd::PreSubclassWindow() {
    CVelaNotifyBase::PreSubclassWindow();
    SetImeIcon();
}

LRESULT CVLNfIMEIconWnd::OnSyncIMEStatus(WPARAM, LPARAM) {
    SetImeIcon();
    return 0;
}

void CVLNfIMEIconWnd::SetImeIcon() {
    UINT icon = 3010;  // closed, half-width alphanumeric and anything unknown
    switch (m_imeManage.GetConversionStatus()) {
    case 1: icon = 3013; break;  // full-width hiragana
    case 2: icon = 3014; break;  // full-width katakana
    case 3: icon = 3012; break;  // full-width alphanumeric
    case 4: icon = 3011; break;  // half-width katakana
    default: break;
    }
    ChangeIcon(icon);
}
