// Writers of the two resource file formats the tiles and arrows are kept in.
#pragma once

#include <string>
#include <vector>

#include "ArrowArt.h"
#include "ThemePalette.h"

namespace themeart {

// An uncompressed 24-bit .bmp; pixels row by row from the top.
std::string BitmapFile(int width, int height, const std::vector<Rgb>& pixels);
// A .ico with one 256-colour image and its transparency mask.
std::string IconFile(const IconArt& icon);

}  // namespace themeart
