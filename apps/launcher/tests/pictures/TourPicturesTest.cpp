// What the launcher's demo tour saved: key steps against reference pictures, each status change
// repainting only its own icon, program starts leaving the menu as it was, and the README's two
// pictures (the first menu, and the status bar in several states side by side). The tour runs
// as the test launcher_tour before these.
#include <gtest/gtest.h>
#include <vela/Screen.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "GoldenImage.h"

namespace {

using vela::screen::Image;

// Where the launcher's template puts things, in pixels (one dialog unit is 1.5 pixels).
struct Area {
    int left, top, right, bottom;
};
constexpr Area kNetIcon{3, 3, 19, 19};
constexpr Area kBatteryIcon{21, 3, 37, 19};
constexpr Area kImeIcon{39, 3, 55, 19};
constexpr Area kKeyIcon{57, 3, 73, 19};
constexpr Area kStatusBar{0, 0, 240, 21};  // the title bar starts below
constexpr Area kEntries{0, 40, 240, 240};

Image Load(const std::string& name) {
    const auto image = vela::screen::LoadPng(std::string(LAUNCHER_SHOTS) + "/" + name);
    if (!image) {
        ADD_FAILURE() << "the tour saved no " << name;
        return Image{240, 320, std::vector<std::uint32_t>(240 * 320, 0)};
    }
    return *image;
}

Image Crop(const Image& from, const Area& area) {
    Image part{area.right - area.left, area.bottom - area.top, {}};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) part.pixels.push_back(from.At(x, y));
    }
    return part;
}

bool Differs(const Image& a, const Image& b, const Area& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.At(x, y) != b.At(x, y)) return true;
        }
    }
    return false;
}

// Whether a and b differ anywhere outside `changed`.
bool DiffersOutside(const Image& a, const Image& b, const Area& changed) {
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const bool inside = x >= changed.left && x < changed.right && y >= changed.top && y < changed.bottom;
            if (!inside && a.At(x, y) != b.At(x, y)) return true;
        }
    }
    return false;
}

TEST(Pictures, EachTerminalChangeRepaintsOnlyItsOwnIcon) {
    struct Step {
        const char* before;
        const char* after;
        Area icon;
    };
    const Step steps[] = {
        {"02-network-ready.png", "10-external-power.png", kBatteryIcon},
        {"10-external-power.png", "11-battery-low.png", kBatteryIcon},
        {"11-battery-low.png", "12-signal-weak.png", kNetIcon},
        {"12-signal-weak.png", "13-network-down.png", kNetIcon},
    };
    for (const Step& step : steps) {
        const Image before = Load(step.before);
        const Image after = Load(step.after);
        EXPECT_TRUE(Differs(before, after, step.icon)) << step.before << " -> " << step.after;
        EXPECT_FALSE(DiffersOutside(before, after, step.icon)) << step.before << " -> " << step.after;
    }
    // The input method and the key mode change both of their icons and nothing else.
    const Image hiragana = Load("14-hiragana.png");
    const Image katakana = Load("15-katakana.png");
    EXPECT_TRUE(Differs(hiragana, katakana, kImeIcon));
    EXPECT_TRUE(Differs(hiragana, katakana, kKeyIcon));
    EXPECT_FALSE(DiffersOutside(hiragana, katakana, Area{kImeIcon.left, kImeIcon.top, kKeyIcon.right, kKeyIcon.bottom}));
}

TEST(Pictures, ProgramStartsLeaveTheMenuAsItWas) {
    // The launcher shows nothing of a start, also not of a failed one: the log tells.
    EXPECT_FALSE(Differs(Load("07-top.png"), Load("08-started.png"), kEntries));
    EXPECT_FALSE(Differs(Load("03-page-2.png"), Load("09-not-installed.png"), kEntries));
}

TEST(Pictures, KeyStepsMatchTheirReferences) {
    EXPECT_TRUE(golden::MatchesGolden(Load("03-page-2.png"), LAUNCHER_GOLDEN, "launcher_page_2"));
    EXPECT_TRUE(golden::MatchesGolden(Load("05-picking.png"), LAUNCHER_GOLDEN, "launcher_picking"));
    EXPECT_TRUE(golden::MatchesGolden(Load("16-resumed.png"), LAUNCHER_GOLDEN, "launcher_resumed"));
}

TEST(Pictures, ReadmeShowsTheFirstMenu) {
    EXPECT_TRUE(golden::MatchesGolden(Load("01-main.png"), README_IMAGES, "launcher"));
}

// The status bar of six tour steps in two columns, a light frame around each.
TEST(Pictures, ReadmeShowsTheStatusBarInItsStates) {
    const char* const kSteps[] = {"02-network-ready.png", "10-external-power.png", "11-battery-low.png",
                                  "12-signal-weak.png",   "13-network-down.png",   "14-hiragana.png"};
    constexpr int kColumns = 2;
    constexpr int kGap = 4;
    constexpr std::uint32_t kBackground = 0xFFFFFF;
    constexpr std::uint32_t kFrame = 0x808080;
    const int cellWidth = kStatusBar.right - kStatusBar.left + 2;
    const int cellHeight = kStatusBar.bottom - kStatusBar.top + 2;
    const int rows = static_cast<int>(std::size(kSteps) + kColumns - 1) / kColumns;
    Image sheet{kColumns * cellWidth + (kColumns + 1) * kGap, rows * cellHeight + (rows + 1) * kGap, {}};
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, kBackground);
    for (size_t i = 0; i < std::size(kSteps); ++i) {
        const Image bar = Crop(Load(kSteps[i]), kStatusBar);
        const int left = kGap + static_cast<int>(i % kColumns) * (cellWidth + kGap);
        const int top = kGap + static_cast<int>(i / kColumns) * (cellHeight + kGap);
        for (int y = 0; y < cellHeight; ++y) {
            for (int x = 0; x < cellWidth; ++x) {
                const bool frame = x == 0 || y == 0 || x == cellWidth - 1 || y == cellHeight - 1;
                sheet.pixels[static_cast<size_t>(top + y) * sheet.width + left + x] =
                    frame ? kFrame : bar.At(x - 1, y - 1);
            }
        }
    }
    EXPECT_TRUE(golden::MatchesGolden(sheet, README_IMAGES, "status-bar-states"));
}

}  // namespace
