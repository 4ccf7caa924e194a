// The bevel of a painted button read back pixel by pixel: the four edge profiles of the red and
// grey themes in every state, and of the disabled look, as the terminal's buttons show them.
// The button is 45 x 27, so the bottom and right tiles start off the 8-pixel grid.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "ThemeFixture.h"

namespace {

using Line = std::array<std::uint32_t, 8>;
struct Profiles {
    Line top, left, right, bottom;  // top and left from the outside in, right and bottom from the inside out
};

constexpr int kX = 20, kY = 40, kW = 45, kH = 27;

Profiles ReadBack() {
    Profiles p{};
    for (int i = 0; i < 8; ++i) {
        p.top[size_t(i)] = vela::screen::Pixel(kX + kW / 2, kY + i);
        p.left[size_t(i)] = vela::screen::Pixel(kX + i, kY + kH / 2);
        p.right[size_t(i)] = vela::screen::Pixel(kX + kW - 8 + i, kY + kH / 2);
        p.bottom[size_t(i)] = vela::screen::Pixel(kX + kW / 2, kY + kH - 8 + i);
    }
    return p;
}

std::string Hex(const Line& line) {
    std::string out;
    char buf[8];
    for (std::uint32_t v : line) {
        std::snprintf(buf, sizeof buf, "%06X ", v);
        out += buf;
    }
    return out;
}

void ExpectProfiles(const Profiles& expected, const Profiles& actual) {
    EXPECT_EQ(Hex(expected.top), Hex(actual.top)) << "top";
    EXPECT_EQ(Hex(expected.left), Hex(actual.left)) << "left";
    EXPECT_EQ(Hex(expected.right), Hex(actual.right)) << "right";
    EXPECT_EQ(Hex(expected.bottom), Hex(actual.bottom)) << "bottom";
}

class EdgeProfileTest : public themetest::ThemeTest {
protected:
    Profiles Painted(int nColor, UINT nState) {
        if (m_buttons.empty()) Make<CVelaThemeButton>(kX, kY, kW, kH);
        m_buttons.front()->SetColor(nColor);
        PaintState(*m_buttons.front(), nState);
        return ReadBack();
    }
};

TEST_F(EdgeProfileTest, RedTheme) {
    ExpectProfiles({{0x000000, 0xDEB5B5, 0xEFD6D6, 0xCE6363, 0xD66B6B, 0xE77373, 0xF77B7B, 0xFF7B7B},
                    {0x000000, 0xC66B6B, 0xDE9C9C, 0xD66B6B, 0xE77373, 0xF77B7B, 0xFF7B7B, 0xFF7B7B},
                    {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xAD3131, 0xA52929, 0x000000},
                    {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xB53131, 0xAD3131, 0x000000}},
                   Painted(0, 0));
    ExpectProfiles({{0x000000, 0xDEB5B5, 0xEFD6D6, 0x311818, 0xAD525A, 0xCE6B6B, 0xF77B7B, 0xFF7B7B},
                    {0x000000, 0xC66B6B, 0xDE9C9C, 0x391818, 0xBD5A5A, 0xDE6B6B, 0xFF7B7B, 0xFF7B7B},
                    {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0x422121, 0x8C2929, 0x942929, 0x000000},
                    {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0x422121, 0x942929, 0x9C2929, 0x000000}},
                   Painted(0, ODS_FOCUS));
    ExpectProfiles({{0x000000, 0x291018, 0x311818, 0x4A2129, 0x5A2929, 0x6B3131, 0x733939, 0x7B3942},
                    {0x000000, 0x311818, 0x311818, 0x5A2929, 0x6B3131, 0x733939, 0x7B3942, 0x844242},
                    {0x844242, 0x844242, 0x844242, 0x844242, 0x844242, 0xA57373, 0x845252, 0x000000},
                    {0x844242, 0x844242, 0x844242, 0x844242, 0x844242, 0xD6C6C6, 0xC6A5A5, 0x000000}},
                   Painted(0, ODS_SELECTED));
}

TEST_F(EdgeProfileTest, GreyTheme) {
    ExpectProfiles({{0x000000, 0xD6D6D6, 0xE7E7E7, 0xADADAD, 0xB5B5B5, 0xC6C6C6, 0xCECECE, 0xD6D6D6},
                    {0x000000, 0xADADAD, 0xC6CEC6, 0xB5B5B5, 0xC6C6C6, 0xCECECE, 0xD6D6D6, 0xD6D6D6},
                    {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x8C8C8C, 0x7B7B7B, 0x000000},
                    {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x8C8C8C, 0x848484, 0x000000}},
                   Painted(9, 0));
    ExpectProfiles({{0x000000, 0xD6D6D6, 0xE7E7E7, 0x292929, 0x949494, 0xADB5AD, 0xCECECE, 0xD6D6D6},
                    {0x000000, 0xADADAD, 0xC6CEC6, 0x292929, 0x9C9C9C, 0xB5BDB5, 0xD6D6D6, 0xD6D6D6},
                    {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x393139, 0x6B736B, 0x737373, 0x000000},
                    {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x393139, 0x6B736B, 0x7B7B7B, 0x000000}},
                   Painted(9, ODS_FOCUS));
    ExpectProfiles({{0x000000, 0x212121, 0x292929, 0x424242, 0x4A4A4A, 0x5A5A5A, 0x636363, 0x6B6B6B},
                    {0x000000, 0x292929, 0x292929, 0x4A4A4A, 0x5A5A5A, 0x636363, 0x6B6B6B, 0x6B6B6B},
                    {0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x949494, 0x737373, 0x000000},
                    {0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0xCED6CE, 0xB5BDB5, 0x000000}},
                   Painted(9, ODS_SELECTED));
}

TEST_F(EdgeProfileTest, DisabledLookIsTheSameForEveryTheme) {
    const Profiles disabled{{0xB5B5B5, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE},
                            {0xB5B5B5, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE},
                            {0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xB5B5B5},
                            {0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xDEDEDE, 0xB5B5B5}};
    for (int nColor : {0, 5, 9}) {
        SCOPED_TRACE(nColor);
        ExpectProfiles(disabled, Painted(nColor, ODS_DISABLED));
        ExpectProfiles(disabled, Painted(nColor, ODS_GRAYED));
    }
}

// Every theme: a black outer frame on all sides, its own face in the middle, and the face of
// the pressed tiles when pressed.
TEST_F(EdgeProfileTest, EveryThemeHasABlackFrameAndItsFaceColours) {
    constexpr std::uint32_t kFace[] = {0xFF7B7B, 0xFF9C42, 0xFFFF42, 0x42FF42, 0x42FFBD,
                                       0x00FFFF, 0x42ADFF, 0x8C8CFF, 0xFF63FF, 0xD6D6D6};
    constexpr std::uint32_t kPressedFace[] = {0x844242, 0x845221, 0x7B8421, 0x218421, 0x218463,
                                              0x007B84, 0x215284, 0x4A4A84, 0x84317B, 0x6B6B6B};
    for (int nColor = 0; nColor < 10; ++nColor) {
        SCOPED_TRACE(nColor);
        for (UINT nState : {0u, UINT(ODS_FOCUS), UINT(ODS_SELECTED)}) {
            const Profiles p = Painted(nColor, nState);
            EXPECT_EQ(p.top[0], 0u);
            EXPECT_EQ(p.left[0], 0u);
            EXPECT_EQ(p.right[7], 0u);
            EXPECT_EQ(p.bottom[7], 0u);
            EXPECT_EQ(vela::screen::Pixel(kX + kW / 2, kY + kH / 2), nState == ODS_SELECTED ? kPressedFace[nColor] : kFace[nColor]);
        }
    }
}

}  // namespace
