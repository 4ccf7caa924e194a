// Where the arrow and page-arrow buttons put their icons and caption, which icon each state
// takes, and what the library's own arrow pictures look like on a button.
#include <gtest/gtest.h>

#include "ThemeFixture.h"

namespace {

using themetest::BoxOf;
using themetest::ScreenRgb;

// Stand-in icon colours: [icon state] for the arrow, and one for the page arrow.
constexpr COLORREF kArrow[] = {RGB(0x20, 0x40, 0x60), RGB(0x21, 0x41, 0x61), RGB(0x22, 0x42, 0x62)};
constexpr COLORREF kPage = RGB(0x23, 0x43, 0x63);

class ArrowButtonTest : public themetest::ThemeTest {
protected:
    void StandInIcons() {
        for (int d = 0; d < 4; ++d) {
            for (int s = 0; s < 3; ++s) {
                m_swap.Put(VelaThemeDLL.m_hArrowIcon[d][s], themetest::SolidIcon(12, 12, kArrow[s]));
                m_swap.Put(VelaThemeDLL.m_hPageArrowIcon[d][s], themetest::SolidIcon(d < 2 ? 10 : 18, d < 2 ? 18 : 10, kPage));
            }
        }
    }
    // Within the black outer frame, where only the caption is drawn in the text colour.
    static CRect Inside(CRect rc) {
        rc.DeflateRect(1, 1);
        return rc;
    }
    static CRect Screen(const CWnd& button) {
        CRect rc;
        button.GetWindowRect(&rc);
        return rc;
    }
    themetest::TableSwap m_swap;
};

TEST_F(ArrowButtonTest, ArrowIsCentredInTheInnerRectangle) {
    StandInIcons();
    // Inner rectangles (2,2)-(38,23) and (2,2)-(29,20): centres (20,12) and (15,11).
    for (const auto& [size, topLeft] : {std::pair{CSize(40, 24), CPoint(14, 6)}, std::pair{CSize(31, 21), CPoint(9, 5)}}) {
        for (int d = 0; d < 4; ++d) {
            auto& button = Make<CVelaArrowButton>(20, 20, size.cx, size.cy, u"caption is not shown");
            button.SetDirection(d);
            PaintState(button, 0);
            const CRect rc = Screen(button);
            EXPECT_EQ(BoxOf(ScreenRgb(kArrow[0]), rc), CRect(rc.TopLeft() + topLeft, CSize(12, 12))) << d;
            EXPECT_TRUE(BoxOf(ScreenRgb(::GetSysColor(COLOR_MENUTEXT)), Inside(rc)).IsRectEmpty()) << "caption drawn";
            button.DestroyWindow();
        }
    }
}

TEST_F(ArrowButtonTest, IconStateIsPressedThenDisabledElseNormal) {
    StandInIcons();
    auto& button = Make<CVelaArrowButton>(20, 20, 40, 24);
    button.SetDirection(3);
    for (const auto& [nState, expected] : {std::pair{0u, kArrow[0]}, std::pair{UINT(ODS_FOCUS), kArrow[0]},
                                           std::pair{UINT(ODS_SELECTED), kArrow[1]}, std::pair{UINT(ODS_DISABLED), kArrow[2]},
                                           std::pair{UINT(ODS_DISABLED | ODS_FOCUS), kArrow[0]}}) {
        PaintState(button, nState);
        EXPECT_EQ(BoxOf(ScreenRgb(expected), Screen(button)).Size(), CSize(12, 12)) << nState;
    }
}

TEST_F(ArrowButtonTest, DirectionOutsideTheTableDrawsNoArrow) {
    StandInIcons();
    auto& arrow = Make<CVelaArrowButton>(20, 20, 40, 24);
    auto& page = Make<CVelaPageArrowButton>(20, 60, 60, 30, u"Next");
    for (int d : {-1, 4, 1000}) {
        arrow.SetDirection(d);
        page.SetDirection(d);
        PaintState(arrow, 0);
        PaintState(page, 0);
        EXPECT_TRUE(BoxOf(ScreenRgb(kArrow[0]), Screen(arrow)).IsRectEmpty()) << d;
        EXPECT_TRUE(BoxOf(kPage, Screen(page)).IsRectEmpty()) << d;
        EXPECT_FALSE(BoxOf(ScreenRgb(::GetSysColor(COLOR_MENUTEXT)), Inside(Screen(page))).IsRectEmpty()) << "caption still shown";
    }
}

TEST_F(ArrowButtonTest, PageArrowWithoutCaptionIsCentred) {
    StandInIcons();
    // Inner rectangle (2,2)-(38,30), centre (20,16).
    for (const auto& [d, box] : {std::pair{0, CRect(15, 7, 25, 25)}, std::pair{1, CRect(15, 7, 25, 25)},
                                 std::pair{2, CRect(11, 11, 29, 21)}, std::pair{3, CRect(11, 11, 29, 21)}}) {
        auto& button = Make<CVelaPageArrowButton>(20, 20, 40, 31);
        button.SetDirection(d);
        PaintState(button, ODS_SELECTED);
        const CRect rc = Screen(button);
        EXPECT_EQ(BoxOf(ScreenRgb(kPage), rc), box + rc.TopLeft()) << d;
        button.DestroyWindow();
    }
}

TEST_F(ArrowButtonTest, PageArrowWithCaptionSitsLeftOfTheCaption) {
    StandInIcons();
    const std::uint32_t text = ScreenRgb(::GetSysColor(COLOR_MENUTEXT));
    // Inner rectangle (2,2)-(78,30): arrows 4 pixels in from its left, vertically centred; the
    // caption centred in what begins one icon width further right.
    for (const auto& [d, box] : {std::pair{0, CRect(6, 7, 16, 25)}, std::pair{1, CRect(6, 7, 16, 25)},
                                 std::pair{2, CRect(6, 11, 24, 21)}, std::pair{3, CRect(6, 11, 24, 21)}}) {
        auto& button = Make<CVelaPageArrowButton>(20, 20, 80, 31, u"頁");
        button.SetDirection(d);
        PaintState(button, 0);
        const CRect rc = Screen(button);
        EXPECT_EQ(BoxOf(ScreenRgb(kPage), rc), box + rc.TopLeft()) << d;
        const CRect caption = BoxOf(text, Inside(rc)) - rc.TopLeft();
        ASSERT_FALSE(caption.IsRectEmpty());
        const int textLeft = 2 + (d < 2 ? 10 : 18);
        EXPECT_NEAR((caption.left + caption.right) / 2.0, (textLeft + 78) / 2.0, 1.0) << d;
        button.DestroyWindow();
    }
}

// The library's own pictures: dark on a normal or focused button, white when pressed, light
// grey when disabled, in grey tones only, with the face showing through around the chevrons.
// The buttons are tall enough for the icons to lie on the flat centre tile.
TEST_F(ArrowButtonTest, ArrowPicturesPerState) {
    auto& arrow = Make<CVelaArrowButton>(20, 20, 40, 40);
    auto& page = Make<CVelaPageArrowButton>(20, 70, 40, 44);
    struct Look {
        UINT nState;
        std::uint32_t face;
        std::uint32_t lowest, highest, core;  // grey levels
    };
    for (const Look& look : {Look{0, 0x42ADFF, 0x00, 0x80, 0x00}, Look{ODS_FOCUS, 0x42ADFF, 0x00, 0x80, 0x00},
                             Look{ODS_SELECTED, 0x215284, 0xC0, 0xFF, 0xFF}, Look{ODS_DISABLED, 0xDEDEDE, 0xB2, 0xD7, 0xB2}}) {
        for (int d = 0; d < 4; ++d) {
            SCOPED_TRACE(testing::Message() << "state " << look.nState << " direction " << d);
            for (CVelaArrowButton* button : {&arrow, static_cast<CVelaArrowButton*>(&page)}) {
                button->SetColor(6);
                button->SetDirection(d);
                PaintState(*button, look.nState);
            }
            const CRect areas[] = {CRect(14, 14, 26, 26) + CPoint(20, 20),
                                   (d < 2 ? CRect(15, 13, 25, 31) : CRect(11, 17, 29, 27)) + CPoint(20, 70)};
            for (const CRect& area : areas) {
                int drawn = 0, wrong = 0, core = 0;
                for (int y = area.top; y < area.bottom; ++y) {
                    for (int x = area.left; x < area.right; ++x) {
                        const std::uint32_t p = vela::screen::Pixel(x, y);
                        if (p == look.face) continue;
                        ++drawn;
                        const std::uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
                        wrong += r != g || g != b || r < look.lowest || r > look.highest;
                        core += r == look.core && wrong == 0;
                    }
                }
                EXPECT_GT(drawn, 20);
                EXPECT_EQ(wrong, 0);
                EXPECT_GT(core, 5);  // a solid stroke with softer tones at its edges
                EXPECT_LT(core, drawn);
            }
        }
    }
}

}  // namespace
