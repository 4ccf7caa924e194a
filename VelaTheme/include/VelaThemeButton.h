// Owner-drawn push buttons in ten colour themes: the frame and face come from the library's
// tiles, the content from DrawInside (the caption, a single arrow or a double arrow).
// Create the button with Create, or attach one of a dialog template with SubclassDlgItem:
// either way it becomes owner-drawn and quick taps on it give separate clicks.
#pragma once

#include <afxwin.h>

class CVelaThemeButton : public CButton {
public:
    CVelaThemeButton();
    ~CVelaThemeButton() override;

    // Theme 0 red, 1 orange, 2 yellow, 3 green, 4 sea green, 5 cyan, 6 sky blue, 7 violet,
    // 8 magenta, 9 grey. Shown from the next paint; a theme outside 0-9 paints as the nearest
    // of them.
    void SetColor(int nColor);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    // The content inside the frame: rect is the client area less 2 pixels left, top and right
    // and 1 at the bottom (a scratch copy the override may change); bPressed and bDisabled are
    // 0 or 1 and never both 1. This one draws the caption.
    virtual void DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled);

    int m_nColor;

    DECLARE_MESSAGE_MAP()

private:
    void DrawThemeButton(HDC hDC, CRect& rect, HBRUSH* const phBrush);
    void SetUpOwnerDraw();
};

// A single arrow (chevron) centred on the button; the caption is not shown.
class CVelaArrowButton : public CVelaThemeButton {
public:
    CVelaArrowButton();
    ~CVelaArrowButton() override;

    // 0 up, 1 down, 2 left, 3 right; shown from the next paint. Any other value shows no arrow.
    void SetDirection(int nDirection);

protected:
    void DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled) override;

    int m_nDirection;
};

// A double arrow: centred without a caption; with one, at the left with the caption beside it.
class CVelaPageArrowButton : public CVelaArrowButton {
public:
    CVelaPageArrowButton();
    ~CVelaPageArrowButton() override;

protected:
    void DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled) override;
};
