// The arrow pictures: anti-aliased chevrons in grey tones over a transparent background, one
// for the arrow buttons and two in a row for the page-arrow buttons.
#pragma once

#include <optional>
#include <vector>

#include "ThemePalette.h"

namespace themeart {

// Directions 0 up, 1 down, 2 left, 3 right; icon states 0 normal, 1 pressed, 2 disabled.
struct IconArt {
    int width = 0;
    int height = 0;
    std::vector<std::optional<Rgb>> pixels;  // row by row from the top; empty = transparent
    const std::optional<Rgb>& At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

IconArt ArrowIcon(int direction, int state);      // 12 x 12
IconArt PageArrowIcon(int direction, int state);  // 10 x 18 up and down, 18 x 10 left and right

}  // namespace themeart
