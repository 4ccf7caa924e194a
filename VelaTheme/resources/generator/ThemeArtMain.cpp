// vela-theme-art <folder>: writes the button tiles, the arrow icons and the resource script
// VelaTheme.rc that names them into the folder. The build runs it before compiling the
// library's resources, so a change of a colour here is a rebuild away.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "ArrowArt.h"
#include "ImageFiles.h"
#include "ThemePalette.h"

namespace {

using namespace themeart;

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string Tile(const Profiles& set, int piece) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) pixels.push_back(TilePixel(set, piece, x, y));
    }
    return BitmapFile(kTileSize, kTileSize, pixels);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vela-theme-art <output folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        std::string script = "// Written by vela-theme-art; change the generator, not this file.\nLANGUAGE 0x11, 0x1\n";
        auto tile = [&](int id, const Profiles& set, int piece) {
            const std::string name = "tile" + std::to_string(id) + ".bmp";
            WriteFile(folder / name, Tile(set, piece));
            script += std::to_string(id) + " BITMAP \"" + name + "\"\n";
        };
        for (int piece = 0; piece < 9; ++piece) tile(6000 + piece, DisabledProfiles(), piece);
        for (int theme = 0; theme < kThemes; ++theme) {
            for (int state = 0; state < kStates; ++state) {
                const Profiles set = ThemeProfiles(theme, state);
                for (int piece = 0; piece < 9; ++piece) tile(6010 + 100 * theme + 10 * state + piece, set, piece);
            }
        }
        for (int direction = 0; direction < 4; ++direction) {
            for (int state = 0; state < 3; ++state) {
                for (const auto& [id, art] : {std::pair{7000 + 10 * direction + state, ArrowIcon(direction, state)},
                                              std::pair{7100 + 10 * direction + state, PageArrowIcon(direction, state)}}) {
                    const std::string name = "arrow" + std::to_string(id) + ".ico";
                    WriteFile(folder / name, IconFile(art));
                    script += std::to_string(id) + " ICON \"" + name + "\"\n";
                }
            }
        }
        WriteFile(folder / "VelaTheme.rc", script);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vela-theme-art: %s\n", e.what());
        return 1;
    }
    return 0;
}
