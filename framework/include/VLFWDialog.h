// CVLFWDialog: a dialog of the framework. Its initialisation asks the application to wait for
// its devices; device broadcasts and the flip key go to its CVelaFWBase part.
#pragma once

#include <afxwin.h>
#include <afxdialog.h>

#include "VelaFWBase.h"

class AFX_EXT_CLASS CVLFWDialog : public CDialog, public CVelaFWBase {
public:
    ~CVLFWDialog() override;

protected:
    CVLFWDialog(UINT nIDTemplate, CWnd* pParentWnd);
    CVLFWDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd);

    BOOL OnInitDialog() override;
    afx_msg LRESULT OnDevChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFlipKeyInput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
