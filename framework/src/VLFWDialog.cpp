#include "VLFWDialog.h"

#include <dbt.h>

#include "VLFWShared.h"
#include "VelaFWBaseWaitStart.h"

BEGIN_MESSAGE_MAP(CVLFWDialog, CDialog)
    ON_MESSAGE(WM_DEVICECHANGE, OnDevChange)
    ON_MESSAGE(WM_FLIPKEY_INPUT, OnFlipKeyInput)
END_MESSAGE_MAP()

CVLFWDialog::CVLFWDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CVLFWDialog::CVLFWDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd) : CDialog(lpszTemplateName, pParentWnd) {}

CVLFWDialog::~CVLFWDialog() = default;

BOOL CVLFWDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    VLFWPostWaitStart();
    return TRUE;
}

LRESULT CVLFWDialog::OnDevChange(WPARAM wParam, LPARAM lParam) { return CVelaFWBase::OnDevChange(wParam, lParam); }

LRESULT CVLFWDialog::OnFlipKeyInput(WPARAM wParam, LPARAM lParam) {
    return CVelaFWBase::OnFlipKeyInput(wParam, lParam);
}
