// CVelaNotifyBase: a static control that paints one icon of the library in a fixed square,
// fills the rest with a background colour and opens the matching settings when tapped.
//
// A status window is either created as a child window (OnCreate) or attached to a static
// control of a dialog template (PreSubclassWindow); both apply the icon size the same way.
#pragma once

#include <afxwin.h>

#include <atomic>

enum IconSize : int {  // fixed type: any int stored here is a valid value
    IconSize16 = 0,      // 16 x 16 window, 16 x 16 image
    IconSize32 = 1,      // 32 x 32 window, 32 x 32 image
    IconSizeWindow = 2,  // window keeps its size, 32 x 32 image; any other value acts as IconSize32
};

class AFX_EXT_CLASS CVelaNotifyBase : public CStatic {
public:
    using IconSize = ::IconSize;
    using enum ::IconSize;

    // Takes effect on the window size only when called before creation or subclassing.
    void SetIconSize(IconSize nIconSize);

    // Shows at the next paint; the caller invalidates if it wants it at once.
    virtual void SetBkColor(COLORREF crBkColor);

protected:
    CVelaNotifyBase();
    ~CVelaNotifyBase() override;

    virtual void DrawCustomIcon(CDC* pDC, CRect& rect);
    virtual void ShowCplProperty();

    void PreSubclassWindow() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnClicked();

    // Stores a new icon and repaints, only when it really changed.
    void ChangeIcon(UINT nIconID);

    IconSize m_nIconSize;
    // Notifier threads store a new id while the window thread paints: one atomic 32-bit value.
    std::atomic<UINT> m_nIconID;
    COLORREF m_crBkColor;

    DECLARE_MESSAGE_MAP()

private:
    void SetWindowSize();
};
