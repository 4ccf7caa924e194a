// The data-entry dialog: an edit field whose input-method changes show at once on the two
// icons beside it (the edit is their buddy), OK and cancel.
#pragma once

#include <VelaFW.h>
#include <VelaNotify.h>

class CDataEntryDialog : public CVLFWDialog {
public:
    CDataEntryDialog();

    // What was in the edit field when OK was pressed.
    const CString& GetEntered() const { return m_strEntered; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CVLNfIMEIconWnd m_ime;
    CVLNfKeyIconWnd m_keyMode;
    CString m_strEntered;
};
