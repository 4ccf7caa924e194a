// CVLNfKeyIconWnd: the key input mode of the keypad as a key-cap icon.
#include "VLNfKeyIconWnd.h"

BEGIN_MESSAGE_MAP(CVLNfKeyIconWnd, CVLNfIMEIconWnd)
END_MESSAGE_MAP()

CVLNfKeyIconWnd::CVLNfKeyIconWnd() = default;

CVLNfKeyIconWnd::~CVLNfKeyIconWnd() = default;

void CVLNfKeyIconWnd::SetImeIcon() {
    UINT icon = 3015;  // digits, and every mode without a cap of its own
    switch (m_imeManage.GetKeyInputMode()) {
    case 2: case 6: icon = 3016; break;   // hiragana
    case 3: case 7: icon = 3017; break;   // katakana
    case 4: case 8: icon = 3018; break;   // capital letters
    case 5: case 9: icon = 3019; break;   // small letters
    case 10: icon = 3020; break;          // P
    default: break;
    }
    ChangeIcon(icon);
}
