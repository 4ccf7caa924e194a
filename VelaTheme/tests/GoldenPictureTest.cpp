// Whole pictures: one button per theme in each of its four looks, and the arrow buttons, against
// reference pictures in golden/ (written only by hand with VELA_UPDATE_GOLDEN=1, then looked at).
#include <gtest/gtest.h>

#include "GoldenImage.h"
#include "ThemeFixture.h"

namespace {

constexpr UINT kLooks[] = {0, ODS_FOCUS, ODS_SELECTED | ODS_FOCUS, ODS_DISABLED};

class GoldenPictureTest : public themetest::ThemeTest, public ::testing::WithParamInterface<int> {};

TEST_P(GoldenPictureTest, ThemeInItsFourLooks) {
    const int nColor = GetParam();
    for (int look = 0; look < 4; ++look) {
        auto& button = Make<CVelaThemeButton>(4 + 58 * look, 4, 56, 22, u"決定");
        button.SetColor(nColor);
        PaintState(button, kLooks[look]);
    }
    EXPECT_TRUE(golden::ScreenMatchesGolden(RECT{0, 0, 238, 30}, VELATHEME_GOLDEN, "theme" + std::to_string(nColor), 0));
}

INSTANTIATE_TEST_SUITE_P(Themes, GoldenPictureTest, ::testing::Range(0, 10));

TEST_F(GoldenPictureTest, ArrowsAndPageArrowsInTheirFourLooks) {
    for (int look = 0; look < 4; ++look) {
        for (int d = 0; d < 4; ++d) {
            auto& arrow = Make<CVelaArrowButton>(4 + 26 * d, 4 + 34 * look, 24, 20);
            arrow.SetDirection(d);
            arrow.SetColor(6);
            PaintState(arrow, kLooks[look]);
            auto& page = Make<CVelaPageArrowButton>(110 + 32 * d, 4 + 34 * look, 30, 30);
            page.SetDirection(d);
            page.SetColor(3);
            PaintState(page, kLooks[look]);
        }
        auto& captioned = Make<CVelaPageArrowButton>(4 + 58 * look, 140, 56, 30, u"次頁");
        captioned.SetDirection(look);
        captioned.SetColor(9);
        PaintState(captioned, kLooks[look]);
    }
    EXPECT_TRUE(golden::ScreenMatchesGolden(RECT{0, 0, 240, 174}, VELATHEME_GOLDEN, "arrows", 0));
}

}  // namespace
