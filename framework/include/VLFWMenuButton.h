// The buttons of a menu dialog. CVLFWMenuButton shows one menu entry on an owner-drawn push
// button and tells its parent when the entry is chosen. CVLFWMenuTopButton and
// CVLFWMenuUpButton ask the parent to go to the first menu or one level up.
#pragma once

#include <afxwin.h>

#include "VLFWMenuSpec.h"

class AFX_EXT_CLASS CVLFWMenuButton : public CButton {
public:
    CVLFWMenuButton();
    ~CVLFWMenuButton() override;

    // The entry shown; not owned: it belongs to the menu dialog's menu and goes with it.
    void SetMenuItem(CVLFWMenuItem* item) { m_pMenuItem = item; }
    CVLFWMenuItem* GetMenuItem() const { return m_pMenuItem; }
    // Takes effect at the next painting.
    void SetBkColor(COLORREF color) { m_crBkColor = color; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Posts "WM_VELAFW_SELECTMENU" (0, the entry) to the parent for a selectable entry.
    afx_msg void OnClicked();
    void PreSubclassWindow() override;

    // Two one-pixel frames in the system's 3D colours, sunken while pressed.
    virtual void DrawFrame(CDC* pDC, RECT* rect, DWORD state);
    // The display name centred on one line; one pixel right and down while pressed.
    virtual void DrawMenuText(CDC* pDC, RECT* rect, DWORD state);
    virtual void FillBkgnd(CDC* pDC, RECT* rect);

    DECLARE_MESSAGE_MAP()

private:
    CVLFWMenuItem* m_pMenuItem;
    COLORREF m_crBkColor;
};

// A plain push button that posts one message (0, 0) to its parent when clicked.
class AFX_EXT_CLASS CVLFWMenuSPButton : public CButton {
public:
    CVLFWMenuSPButton();
    ~CVLFWMenuSPButton() override;

protected:
    afx_msg void OnClicked();

    UINT m_nMessage;  // 0: a click posts nothing

    DECLARE_MESSAGE_MAP()
};

// Posts "WM_VELAFW_MENU_TOP".
class AFX_EXT_CLASS CVLFWMenuTopButton : public CVLFWMenuSPButton {
public:
    CVLFWMenuTopButton();
    ~CVLFWMenuTopButton() override;
};

// Posts "WM_VELAFW_MENU_PREV".
class AFX_EXT_CLASS CVLFWMenuUpButton : public CVLFWMenuSPButton {
public:
    CVLFWMenuUpButton();
    ~CVLFWMenuUpButton() override;
};
