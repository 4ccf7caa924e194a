// Where each of the nine tiles lands: the library's brushes are replaced by tiles that encode
// their piece and pixel position, and every pixel of a painted button is checked against the
// nine rectangles in their order (later ones on top), each pattern starting at its own corner.
#include <gtest/gtest.h>

#include <cstdio>

#include "ThemeFixture.h"

namespace {

struct Placement {
    int piece;
    RECT rc;
};

// The expected colour of pixel (x, y) of a w x h button: the last rectangle that holds it.
std::uint32_t Expected(int x, int y, int w, int h) {
    const Placement order[] = {{4, {8, 8, w - 8, h - 8}}, {3, {0, 8, 8, h - 8}}, {5, {w - 8, 8, w, h - 8}},
                               {1, {8, 0, w - 8, 8}},     {7, {8, h - 8, w - 8, h}}, {0, {0, 0, 8, 8}},
                               {2, {w - 8, 0, w, 8}},     {6, {0, h - 8, 8, h}},     {8, {w - 8, h - 8, w, h}}};
    std::uint32_t colour = 0xFFFFFFFF;  // nothing painted
    for (const Placement& p : order) {
        if (x < p.rc.left || x >= p.rc.right || y < p.rc.top || y >= p.rc.bottom) continue;
        const int tx = ((x - p.rc.left) % 8 + 8) % 8, ty = ((y - p.rc.top) % 8 + 8) % 8;
        colour = std::uint32_t(0x10 * (p.piece + 1)) << 16 | std::uint32_t(tx) << 8 | std::uint32_t(ty);
    }
    return colour;
}

class PiecePlacementTest : public themetest::ThemeTest,
                           public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(PiecePlacementTest, EveryPixelComesFromTheRightTileAtTheRightOffset) {
    const auto [w, h] = GetParam();
    themetest::TableSwap swap;
    for (int k = 0; k < 9; ++k) swap.Put(VelaThemeDLL.m_hThemeBrush[0][0][k], themetest::CodedTileBrush(k));
    constexpr int kX = 13, kY = 21;  // off the 8-pixel grid of the screen
    CVelaThemeButton& button = Make<CVelaThemeButton>(kX, kY, w, h);
    // A brush origin left behind by someone else must not shift the tiles, and is given back.
    HDC hDC = ::GetDC(button.m_hWnd);
    ::SetBrushOrgEx(hDC, 3, 5, nullptr);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.hDC = hDC;
    dis.hwndItem = button.m_hWnd;
    dis.rcItem = RECT{1, 1, 2, 2};  // the client rectangle is used, not this
    button.DrawItem(&dis);
    POINT org{};
    ::GetBrushOrgEx(hDC, &org);
    ::ReleaseDC(button.m_hWnd, hDC);
    EXPECT_EQ(org.x, 3);
    EXPECT_EQ(org.y, 5);

    int wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t expected = Expected(x, y, w, h), actual = vela::screen::Pixel(kX + x, kY + y);
            if (expected != actual && wrong++ < 5) {
                ADD_FAILURE() << "pixel (" << x << "," << y << "): expected " << std::hex << expected << ", painted " << actual;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Large enough for every piece; exactly two corners; smaller than two corners both ways.
INSTANTIATE_TEST_SUITE_P(Sizes, PiecePlacementTest,
                         ::testing::Values(std::pair{40, 24}, std::pair{16, 16}, std::pair{10, 6}, std::pair{37, 19}),
                         [](const auto& param) { return std::to_string(param.param.first) + "x" + std::to_string(param.param.second); });

// A tile that failed to load leaves its piece unpainted and the rest as usual.
TEST_F(PiecePlacementTest, MissingTileLeavesItsPieceUnpainted) {
    themetest::TableSwap swap;
    for (int k = 0; k < 9; ++k) swap.Put(VelaThemeDLL.m_hThemeBrush[0][0][k], k == 4 ? nullptr : themetest::CodedTileBrush(k));
    CVelaThemeButton& button = Make<CVelaThemeButton>(10, 10, 40, 24);
    {
        CClientDC dc(&button);
        dc.FillSolidRect(0, 0, 40, 24, RGB(1, 2, 3));
    }
    PaintState(button, 0);
    EXPECT_EQ(vela::screen::Pixel(10 + 20, 10 + 12), 0x010203u);
    EXPECT_EQ(vela::screen::Pixel(10 + 2, 10 + 12), Expected(2, 12, 40, 24));
}

}  // namespace
