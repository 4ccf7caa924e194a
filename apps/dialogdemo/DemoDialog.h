// The demo's one dialog: a tappable greeting, a seconds counter fed by a timer, a colour swatch
// and an owner-drawn button that changes it, and a check box that disables that button.
#pragma once

#include <afxwin.h>
#include <afxdialog.h>

#include "ColorButton.h"
#include "ColorSwatch.h"

class CDemoDialog : public CDialog {
public:
    CDemoDialog();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg void OnGreetingClicked();
    afx_msg void OnColorClicked();
    afx_msg void OnLockClicked();
    DECLARE_MESSAGE_MAP()

private:
    void ShowColor();

    CColorButton m_colorButton;
    CColorSwatch m_swatch;
    int m_seconds = 0;
    int m_taps = 0;
    int m_colorIndex = 0;
};
