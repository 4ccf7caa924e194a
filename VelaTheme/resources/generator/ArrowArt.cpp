#include "ArrowArt.h"

#include <algorithm>
#include <cmath>

namespace themeart {
namespace {

// One chevron pointing up fills a cell 10 wide and 9 high.
constexpr int kCellWidth = 10;
constexpr int kCellHeight = 9;
// Below this share of a pixel the stroke leaves it transparent: the icons have a 1-bit mask.
constexpr double kOpaqueCoverage = 0.3;

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Share of each cell pixel that the stroke covers, found by sampling 8 x 8 points per pixel.
std::vector<double> UpChevronCoverage() {
    constexpr double kHalfStroke = 1.15;
    constexpr double ax = 1.2, ay = 7.6, tx = 5.0, ty = 1.3, bx = 8.8, by = 7.6;
    constexpr int kSamples = 8;
    std::vector<double> coverage(kCellWidth * kCellHeight);
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples, py = y + (sy + 0.5) / kSamples;
                    const double d = std::min(DistanceToSegment(px, py, ax, ay, tx, ty), DistanceToSegment(px, py, tx, ty, bx, by));
                    inside += d <= kHalfStroke;
                }
            }
            coverage[static_cast<size_t>(y * kCellWidth + x)] = double(inside) / (kSamples * kSamples);
        }
    }
    return coverage;
}

// Full cover takes the core colour, the faintest opaque edge the edge colour.
std::optional<Rgb> Shade(double coverage, int state) {
    if (coverage < kOpaqueCoverage) return std::nullopt;
    static constexpr Rgb kCore[] = {{0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0xB2, 0xB2, 0xB2}};
    static constexpr Rgb kEdge[] = {{0x80, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}, {0xD7, 0xD7, 0xD7}};
    const Rgb core = kCore[state], edge = kEdge[state];
    const double w = (coverage - kOpaqueCoverage) / (1.0 - kOpaqueCoverage);
    auto mix = [w](std::uint8_t e, std::uint8_t c) { return static_cast<std::uint8_t>(std::lround(e + (c - e) * w)); };
    return Rgb{mix(edge.r, core.r), mix(edge.g, core.g), mix(edge.b, core.b)};
}

// Puts one chevron of a direction into the icon with its cell's top-left corner at (left, top).
void PaintChevron(IconArt& icon, int left, int top, int direction, int state) {
    static const std::vector<double> up = UpChevronCoverage();
    const bool vertical = direction < 2;
    const int w = vertical ? kCellWidth : kCellHeight, h = vertical ? kCellHeight : kCellWidth;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Down mirrors up; left transposes it, right mirrors left.
            int ux = x, uy = y;
            if (direction == 1) uy = h - 1 - y;
            if (direction == 2) ux = y, uy = x;
            if (direction == 3) ux = y, uy = w - 1 - x;
            icon.pixels[static_cast<size_t>((top + y) * icon.width + left + x)] =
                Shade(up[static_cast<size_t>(uy * kCellWidth + ux)], state);
        }
    }
}

IconArt Blank(int width, int height) {
    IconArt icon{width, height, {}};
    icon.pixels.resize(static_cast<size_t>(width * height));
    return icon;
}

}  // namespace

IconArt ArrowIcon(int direction, int state) {
    IconArt icon = Blank(12, 12);
    // The 10 x 9 cell sits in the middle, its odd spare line on the side the tip points away from.
    static constexpr int kLeft[] = {1, 1, 1, 2}, kTop[] = {1, 2, 1, 1};
    PaintChevron(icon, kLeft[direction], kTop[direction], direction, state);
    return icon;
}

IconArt PageArrowIcon(int direction, int state) {
    const bool vertical = direction < 2;
    IconArt icon = vertical ? Blank(10, 18) : Blank(18, 10);
    PaintChevron(icon, 0, 0, direction, state);
    PaintChevron(icon, vertical ? 0 : 9, vertical ? 9 : 0, direction, state);
    return icon;
}

}  // namespace themeart
