// The colours of the button tiles: the face colours of the ten themes, the edge profiles that
// the red and grey themes and the disabled set are drawn with, and the rule that gives every
// other theme the same bevel in its own hue.
#pragma once

#include <array>
#include <cstdint>

namespace themeart {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr int kThemes = 10;
constexpr int kStates = 3;  // normal, focused, pressed
constexpr int kTileSize = 8;

// The four 8-pixel edge profiles of one tile set and its flat face. Top and left run from the
// outside in; right and bottom from the inside out, as the tiles are laid out left to right and
// top to bottom.
struct Profiles {
    Rgb face;
    std::array<Rgb, kTileSize> top, left, right, bottom;
};

// Face of the normal and focused tiles, and of the pressed tiles.
Rgb NormalFace(int theme);
Rgb PressedFace(int theme);

// The tile set of theme 0-9 in state 0-2.
Profiles ThemeProfiles(int theme, int state);
// The set every theme shares when the button is disabled.
Profiles DisabledProfiles();

// The pixel (x, y) of piece 0-8 (3 x 3 grid, row by row) of a set. Corner tiles join their
// two edges along the diagonal, so a frame line or the focus outline turns the corner unbroken.
Rgb TilePixel(const Profiles& set, int piece, int x, int y);

}  // namespace themeart
