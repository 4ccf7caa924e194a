#include "ThemePalette.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace themeart {
namespace {

constexpr Rgb Hex(std::uint32_t v) {
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

constexpr std::array<std::uint32_t, kThemes> kNormalFaces = {0xFF7B7B, 0xFF9C42, 0xFFFF42, 0x42FF42, 0x42FFBD,
                                                            0x00FFFF, 0x42ADFF, 0x8C8CFF, 0xFF63FF, 0xD6D6D6};
constexpr std::array<std::uint32_t, kThemes> kPressedFaces = {0x844242, 0x845221, 0x7B8421, 0x218421, 0x218463,
                                                             0x007B84, 0x215284, 0x4A4A84, 0x84317B, 0x6B6B6B};

using Line = std::array<std::uint32_t, kTileSize>;
struct HexProfiles {
    Line top, left, right, bottom;
};

// The drawn sets the other themes are derived from: red (theme 0) and grey (theme 9).
constexpr std::array<HexProfiles, kStates> kRed = {{
    {{0x000000, 0xDEB5B5, 0xEFD6D6, 0xCE6363, 0xD66B6B, 0xE77373, 0xF77B7B, 0xFF7B7B},
     {0x000000, 0xC66B6B, 0xDE9C9C, 0xD66B6B, 0xE77373, 0xF77B7B, 0xFF7B7B, 0xFF7B7B},
     {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xAD3131, 0xA52929, 0x000000},
     {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xB53131, 0xAD3131, 0x000000}},
    {{0x000000, 0xDEB5B5, 0xEFD6D6, 0x311818, 0xAD525A, 0xCE6B6B, 0xF77B7B, 0xFF7B7B},
     {0x000000, 0xC66B6B, 0xDE9C9C, 0x391818, 0xBD5A5A, 0xDE6B6B, 0xFF7B7B, 0xFF7B7B},
     {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0x422121, 0x8C2929, 0x942929, 0x000000},
     {0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0xFF7B7B, 0x422121, 0x942929, 0x9C2929, 0x000000}},
    {{0x000000, 0x291018, 0x311818, 0x4A2129, 0x5A2929, 0x6B3131, 0x733939, 0x7B3942},
     {0x000000, 0x311818, 0x311818, 0x5A2929, 0x6B3131, 0x733939, 0x7B3942, 0x844242},
     {0x844242, 0x844242, 0x844242, 0x844242, 0x844242, 0xA57373, 0x845252, 0x000000},
     {0x844242, 0x844242, 0x844242, 0x844242, 0x844242, 0xD6C6C6, 0xC6A5A5, 0x000000}},
}};
constexpr std::array<HexProfiles, kStates> kGrey = {{
    {{0x000000, 0xD6D6D6, 0xE7E7E7, 0xADADAD, 0xB5B5B5, 0xC6C6C6, 0xCECECE, 0xD6D6D6},
     {0x000000, 0xADADAD, 0xC6CEC6, 0xB5B5B5, 0xC6C6C6, 0xCECECE, 0xD6D6D6, 0xD6D6D6},
     {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x8C8C8C, 0x7B7B7B, 0x000000},
     {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x8C8C8C, 0x848484, 0x000000}},
    {{0x000000, 0xD6D6D6, 0xE7E7E7, 0x292929, 0x949494, 0xADB5AD, 0xCECECE, 0xD6D6D6},
     {0x000000, 0xADADAD, 0xC6CEC6, 0x292929, 0x9C9C9C, 0xB5BDB5, 0xD6D6D6, 0xD6D6D6},
     {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x393139, 0x6B736B, 0x737373, 0x000000},
     {0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0xD6D6D6, 0x393139, 0x6B736B, 0x7B7B7B, 0x000000}},
    {{0x000000, 0x212121, 0x292929, 0x424242, 0x4A4A4A, 0x5A5A5A, 0x636363, 0x6B6B6B},
     {0x000000, 0x292929, 0x292929, 0x4A4A4A, 0x5A5A5A, 0x636363, 0x6B6B6B, 0x6B6B6B},
     {0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x949494, 0x737373, 0x000000},
     {0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0x6B6B6B, 0xCED6CE, 0xB5BDB5, 0x000000}},
}};

std::array<Rgb, kTileSize> FromHex(const Line& line) {
    std::array<Rgb, kTileSize> out{};
    std::transform(line.begin(), line.end(), out.begin(), Hex);
    return out;
}

Profiles FromHex(Rgb face, const HexProfiles& p) {
    return Profiles{face, FromHex(p.top), FromHex(p.left), FromHex(p.right), FromHex(p.bottom)};
}

std::uint8_t Channel(const Rgb& c, int i) { return i == 0 ? c.r : i == 1 ? c.g : c.b; }

// A profile colour of another theme: each drawn colour is taken as one line c = a * face + b,
// the same for all channels (so the hue follows the face), fitted by least squares to the red
// and the grey theme's channels.
Rgb Derived(Rgb face, Rgb redFace, std::uint32_t red, Rgb greyFace, std::uint32_t grey) {
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const Rgb r = Hex(red), g = Hex(grey);
    for (int i = 0; i < 3; ++i) {
        for (const auto& [x, y] : {std::pair{Channel(redFace, i), Channel(r, i)}, std::pair{Channel(greyFace, i), Channel(g, i)}}) {
            sx += x;
            sy += y;
            sxx += double(x) * x;
            sxy += double(x) * y;
        }
    }
    const double n = 6;
    const double a = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double b = (sy - a * sx) / n;
    auto map = [&](std::uint8_t x) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(a * x + b), 0L, 255L));
    };
    return Rgb{map(face.r), map(face.g), map(face.b)};
}

}  // namespace

Rgb NormalFace(int theme) { return Hex(kNormalFaces.at(static_cast<size_t>(theme))); }
Rgb PressedFace(int theme) { return Hex(kPressedFaces.at(static_cast<size_t>(theme))); }

Profiles ThemeProfiles(int theme, int state) {
    const bool pressed = state == 2;
    auto faceOf = [&](int t) { return pressed ? PressedFace(t) : NormalFace(t); };
    const auto& red = kRed.at(static_cast<size_t>(state));
    const auto& grey = kGrey.at(static_cast<size_t>(state));
    if (theme == 0) return FromHex(faceOf(0), red);
    if (theme == kThemes - 1) return FromHex(faceOf(theme), grey);
    Profiles out;
    out.face = faceOf(theme);
    // Runs of face colour stay exactly the face, and the outer frame exactly black.
    auto derive = [&](const Line& r, const Line& g, std::array<Rgb, kTileSize>& to) {
        for (size_t i = 0; i < to.size(); ++i) {
            if (Hex(r[i]) == faceOf(0)) {
                to[i] = out.face;
            } else if (r[i] == 0) {
                to[i] = Rgb{};
            } else {
                to[i] = Derived(out.face, faceOf(0), r[i], faceOf(kThemes - 1), g[i]);
            }
        }
    };
    derive(red.top, grey.top, out.top);
    derive(red.left, grey.left, out.left);
    derive(red.right, grey.right, out.right);
    derive(red.bottom, grey.bottom, out.bottom);
    return out;
}

Profiles DisabledProfiles() {
    const Rgb face = Hex(0xDEDEDE), frame = Hex(0xB5B5B5);
    Profiles out;
    out.face = face;
    out.top.fill(face);
    out.left.fill(face);
    out.right.fill(face);
    out.bottom.fill(face);
    out.top[0] = out.left[0] = frame;
    out.right[kTileSize - 1] = out.bottom[kTileSize - 1] = frame;
    return out;
}

Rgb TilePixel(const Profiles& set, int piece, int x, int y) {
    const auto at = [](const std::array<Rgb, kTileSize>& line, int i) { return line[static_cast<size_t>(i)]; };
    const int last = kTileSize - 1;
    switch (piece) {
        case 0: return y <= x ? at(set.top, y) : at(set.left, x);
        case 1: return at(set.top, y);
        case 2: return y <= last - x ? at(set.top, y) : at(set.right, x);
        case 3: return at(set.left, x);
        case 4: return set.face;
        case 5: return at(set.right, x);
        case 6: return last - y <= x ? at(set.bottom, y) : at(set.left, x);
        case 7: return at(set.bottom, y);
        default: return last - y <= last - x ? at(set.bottom, y) : at(set.right, x);
    }
}

}  // namespace themeart
