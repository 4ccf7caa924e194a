#include "ImageFiles.h"

#include <algorithm>
#include <stdexcept>

namespace themeart {
namespace {

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

size_t RowBytes(int width, int bits) { return static_cast<size_t>((width * bits + 31) / 32 * 4); }

void InfoHeader(std::string& out, int width, int height, int bits, unsigned colours, size_t imageBytes) {
    Put32(out, 40);
    Put32(out, static_cast<unsigned>(width));
    Put32(out, static_cast<unsigned>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<unsigned>(imageBytes));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
}

}  // namespace

std::string BitmapFile(int width, int height, const std::vector<Rgb>& pixels) {
    const size_t row = RowBytes(width, 24), image = row * static_cast<size_t>(height);
    std::string out = "BM";
    Put32(out, static_cast<unsigned>(14 + 40 + image));
    Put32(out, 0);
    Put32(out, 14 + 40);
    InfoHeader(out, width, height, 24, 0, image);
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        const size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<size_t>(y * width + x)];
            out += static_cast<char>(p.b);
            out += static_cast<char>(p.g);
            out += static_cast<char>(p.r);
        }
        out.append(row - (out.size() - start), '\0');
    }
    return out;
}

std::string IconFile(const IconArt& icon) {
    // Index 0 is black, the colour under every transparent pixel.
    std::vector<Rgb> palette{Rgb{}};
    std::vector<unsigned> index(icon.pixels.size(), 0);
    for (size_t i = 0; i < icon.pixels.size(); ++i) {
        if (!icon.pixels[i]) continue;
        auto it = std::find(palette.begin(), palette.end(), *icon.pixels[i]);
        if (it == palette.end()) it = palette.insert(palette.end(), *icon.pixels[i]);
        index[i] = static_cast<unsigned>(it - palette.begin());
    }
    if (palette.size() > 256) throw std::runtime_error("an arrow icon needs more than 256 colours");
    palette.resize(256);

    const int w = icon.width, h = icon.height;
    const size_t colourRow = RowBytes(w, 8), maskRow = RowBytes(w, 1);
    std::string image;
    InfoHeader(image, w, h * 2, 8, 256, (colourRow + maskRow) * static_cast<size_t>(h));
    for (const Rgb& c : palette) {
        image += static_cast<char>(c.b);
        image += static_cast<char>(c.g);
        image += static_cast<char>(c.r);
        image += '\0';
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) image += static_cast<char>(index[static_cast<size_t>(y * w + x)]);
        image.append(colourRow - static_cast<size_t>(w), '\0');
    }
    for (int y = h - 1; y >= 0; --y) {  // mask: 1 = transparent
        std::string row(maskRow, '\0');
        for (int x = 0; x < w; ++x) {
            if (!icon.At(x, y)) row[static_cast<size_t>(x / 8)] = static_cast<char>(row[static_cast<size_t>(x / 8)] | (0x80 >> (x % 8)));
        }
        image += row;
    }

    std::string out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    out += static_cast<char>(w);
    out += static_cast<char>(h);
    out += '\0';  // 256 colours
    out += '\0';
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, static_cast<unsigned>(image.size()));
    Put32(out, 6 + 16);
    return out + image;
}

}  // namespace themeart
