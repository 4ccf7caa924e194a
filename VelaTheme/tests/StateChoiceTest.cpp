// Which brush set and which flags each item state gives, the caption's colours, the inner
// rectangle handed to DrawInside, and what a theme index outside the table paints.
#include <gtest/gtest.h>

#include "ThemeFixture.h"

namespace {

using themetest::ScreenRgb;

// Flat stand-in colours for the sets of theme 3 (normal, focused, pressed), of the disabled
// look, and of themes 0 and 9 for the out-of-range cases.
constexpr COLORREF kSet[] = {RGB(0x10, 0x20, 0x30), RGB(0x11, 0x21, 0x31), RGB(0x12, 0x22, 0x32)};
constexpr COLORREF kDisabled = RGB(0x13, 0x23, 0x33);
constexpr COLORREF kTheme0 = RGB(0x14, 0x24, 0x34), kTheme9 = RGB(0x15, 0x25, 0x35);

// Records what DrawInside was given, then draws the caption as usual.
class CRecordingButton : public CVelaThemeButton {
public:
    CRect m_rcInside;
    int m_bPressed = -1, m_bDisabled = -1;

protected:
    void DrawInside(HDC hDC, CRect& rect, int bPressed, int bDisabled) override {
        m_rcInside = rect;
        m_bPressed = bPressed;
        m_bDisabled = bDisabled;
        CVelaThemeButton::DrawInside(hDC, rect, bPressed, bDisabled);
    }
};

class StateChoiceTest : public themetest::ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        for (int k = 0; k < 9; ++k) {
            for (int s = 0; s < 3; ++s) m_swap.Put(VelaThemeDLL.m_hThemeBrush[3][s][k], ::CreateSolidBrush(kSet[s]));
            m_swap.Put(VelaThemeDLL.m_hDisabledBrush[k], ::CreateSolidBrush(kDisabled));
            m_swap.Put(VelaThemeDLL.m_hThemeBrush[0][0][k], ::CreateSolidBrush(kTheme0));
            m_swap.Put(VelaThemeDLL.m_hThemeBrush[9][0][k], ::CreateSolidBrush(kTheme9));
        }
    }
    // Pixels of a colour inside the button's client area.
    static int Count(const CVelaThemeButton& button, COLORREF colour) {
        CRect rc;
        button.GetWindowRect(&rc);
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) n += vela::screen::Pixel(x, y) == ScreenRgb(colour);
        }
        return n;
    }
    static std::uint32_t Corner(const CVelaThemeButton& button) {
        CRect rc;
        button.GetWindowRect(&rc);
        return vela::screen::Pixel(rc.left, rc.top);
    }

    themetest::TableSwap m_swap;
};

TEST_F(StateChoiceTest, SelectedWinsOverFocusWhichWinsOverDisabled) {
    CRecordingButton& button = Make<CRecordingButton>(10, 10, 40, 24);
    button.SetColor(3);
    for (UINT bits = 0; bits < 16; ++bits) {
        // Selected 0x01, grayed 0x02, disabled 0x04, focus 0x10.
        const UINT nState = (bits & 1 ? ODS_SELECTED : 0) | (bits & 2 ? ODS_GRAYED : 0) | (bits & 4 ? ODS_DISABLED : 0) |
                            (bits & 8 ? ODS_FOCUS : 0) | ODS_DEFAULT;
        SCOPED_TRACE(nState);
        PaintState(button, nState);
        COLORREF expected = kSet[0];
        if (nState & ODS_SELECTED) {
            expected = kSet[2];
        } else if (nState & ODS_FOCUS) {
            expected = kSet[1];
        } else if (nState & (ODS_GRAYED | ODS_DISABLED)) {
            expected = kDisabled;
        }
        EXPECT_EQ(Corner(button), ScreenRgb(expected));
        EXPECT_EQ(button.m_bPressed, (nState & ODS_SELECTED) ? 1 : 0);
        EXPECT_EQ(button.m_bDisabled, expected == kDisabled ? 1 : 0);
        EXPECT_EQ(button.m_rcInside, CRect(2, 2, 38, 23));
    }
}

TEST_F(StateChoiceTest, CaptionColourFollowsPressedThenDisabled) {
    CVelaThemeButton& button = Make<CVelaThemeButton>(10, 10, 60, 24, u"決定");
    button.SetColor(3);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), gray = ::GetSysColor(COLOR_GRAYTEXT), text = ::GetSysColor(COLOR_MENUTEXT);
    ASSERT_NE(window, gray);
    ASSERT_NE(gray, text);
    struct Case {
        UINT nState;
        COLORREF expected;
    };
    // A disabled button with the focus takes the focused look and the normal text.
    for (const Case& c : {Case{0, text}, Case{ODS_FOCUS, text}, Case{ODS_SELECTED, window},
                          Case{ODS_SELECTED | ODS_DISABLED, window}, Case{ODS_DISABLED, gray},
                          Case{ODS_GRAYED, gray}, Case{ODS_DISABLED | ODS_FOCUS, text}}) {
        SCOPED_TRACE(c.nState);
        PaintState(button, c.nState);
        EXPECT_GT(Count(button, c.expected), 10);
        for (COLORREF other : {window, gray, text}) {
            if (other != c.expected) {
                EXPECT_EQ(Count(button, other), 0);
            }
        }
    }
}

TEST_F(StateChoiceTest, CaptionLeavesTheDcAsItCame) {
    CVelaThemeButton& button = Make<CVelaThemeButton>(10, 10, 60, 24, u"OK");
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, u"MS UI Gothic"));
    button.SetFont(&font, FALSE);
    HDC hDC = ::GetDC(button.m_hWnd);
    HGDIOBJ hFontBefore = ::GetCurrentObject(hDC, OBJ_FONT);
    ::SetTextColor(hDC, RGB(1, 2, 3));
    ::SetBkMode(hDC, OPAQUE);
    DRAWITEMSTRUCT dis{};
    dis.hDC = hDC;
    dis.hwndItem = button.m_hWnd;
    dis.itemState = ODS_SELECTED;
    button.DrawItem(&dis);
    EXPECT_EQ(::GetTextColor(hDC), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(hDC), OPAQUE);
    EXPECT_EQ(::GetCurrentObject(hDC, OBJ_FONT), hFontBefore);
    ::ReleaseDC(button.m_hWnd, hDC);
    button.DestroyWindow();
}

TEST_F(StateChoiceTest, EmptyCaptionDrawsNothingInside) {
    CVelaThemeButton& button = Make<CVelaThemeButton>(10, 10, 40, 24);
    button.SetColor(3);
    PaintState(button, ODS_SELECTED);
    EXPECT_EQ(Count(button, kSet[2]), 40 * 24);
}

TEST_F(StateChoiceTest, ThemeOutsideTheTablePaintsAsTheNearestTheme) {
    CVelaThemeButton& button = Make<CVelaThemeButton>(10, 10, 40, 24);
    for (const auto& [nColor, expected] : {std::pair{10, kTheme9}, std::pair{0x7FFFFFFF, kTheme9}, std::pair{-1, kTheme0},
                                           std::pair{int(0x80000000), kTheme0}}) {
        SCOPED_TRACE(nColor);
        button.SetColor(nColor);
        PaintState(button, 0);
        EXPECT_EQ(Count(button, expected), 40 * 24);
    }
}

TEST_F(StateChoiceTest, NewThemeShowsOnlyAtTheNextPaint) {
    CVelaThemeButton& button = Make<CVelaThemeButton>(10, 10, 40, 24);
    button.SetColor(3);
    button.UpdateWindow();
    ASSERT_EQ(Count(button, kSet[0]), 40 * 24);
    button.SetColor(0);
    vela::input::PumpUntilIdle();
    EXPECT_EQ(Count(button, kSet[0]), 40 * 24);
    button.Invalidate(FALSE);
    button.UpdateWindow();
    EXPECT_EQ(Count(button, kTheme0), 40 * 24);
}

}  // namespace
