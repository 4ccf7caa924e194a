// A static control of the dialog template taken over with SubclassDlgItem: it paints a sample of
// the chosen colour with the colour's name.
#pragma once

#include <afxwin.h>

class CColorSwatch : public CStatic {
    DECLARE_DYNAMIC(CColorSwatch)
public:
    void SetColor(COLORREF color, LPCTSTR name);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_color = RGB(0xFF, 0xFF, 0xFF);
    CString m_name;
};
