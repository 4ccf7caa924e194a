// CVLNfIMEIconWnd: shows the conversion state of the input method (hiragana, katakana,
// alphanumeric, full or half width). It reads the state when created or subclassed and again
// on each "WM_VELASYS_SYNCIMESTATUS"; nothing else updates it.
#pragma once

#include <VLSysImeManage.h>

#include "VelaNotifyBase.h"

class AFX_EXT_CLASS CVLNfIMEIconWnd : public CVelaNotifyBase {
public:
    CVLNfIMEIconWnd();
    ~CVLNfIMEIconWnd() override;

protected:
    void PreSubclassWindow() override;
    virtual void SetImeIcon();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnSyncIMEStatus(WPARAM wParam, LPARAM lParam);

    CVLSysImeManage m_imeManage;

    DECLARE_MESSAGE_MAP()
};
