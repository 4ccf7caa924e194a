#include "DataEntryDialog.h"

#include "resource.h"

CDataEntryDialog::CDataEntryDialog() : CVLFWDialog(IDD_DATAENTRY, nullptr) {}

void CDataEntryDialog::DoDataExchange(CDataExchange* pDX) {
    CVLFWDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_IME, m_ime);
    DDX_Control(pDX, IDC_KEYMODE, m_keyMode);
}

BOOL CDataEntryDialog::OnInitDialog() {
    CVLFWDialog::OnInitDialog();
    CVLNfNotifyWnd::SetBuddy(GetDlgItem(IDC_CODE));
    GotoDlgCtrl(GetDlgItem(IDC_CODE));
    return FALSE;  // the focus is set: the edit takes the input method's notifications
}

void CDataEntryDialog::OnOK() {
    GetDlgItemText(IDC_CODE, m_strEntered);
    CVLFWDialog::OnOK();
}
