// CVLNfKeyIconWnd: shows the key input mode of the terminal's keypad; it updates at the same
// moments as the input-method icon it derives from.
#pragma once

#include "VLNfIMEIconWnd.h"

class AFX_EXT_CLASS CVLNfKeyIconWnd : public CVLNfIMEIconWnd {
public:
    CVLNfKeyIconWnd();
    ~CVLNfKeyIconWnd() override;

protected:
    void SetImeIcon() override;

    DECLARE_MESSAGE_MAP()
};
