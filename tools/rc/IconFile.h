// .ico files: read into their images, and the RT_GROUP_ICON directory that names them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Diagnostic.h"

namespace vela::rc {

struct IconImage {
  uint8_t width = 0;   // 0 stands for 256
  uint8_t height = 0;
  uint8_t colorCount = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  std::vector<uint8_t> bytes;  // BITMAPINFOHEADER + XOR + AND bits, or a PNG image as stored
};

// The images of an icon file, checked to lie inside the file and to be DIBs or PNG images.
// Errors are reported at where (the ICON statement), naming the file.
std::vector<IconImage> ReadIconFile(const std::string& bytes, const std::string& path,
                                    const SourceLocation& where);

// GRPICONDIR with one GRPICONDIRENTRY per image; the images get ids firstId, firstId + 1 ...
std::vector<uint8_t> GroupIconDirectory(const std::vector<IconImage>& images, uint16_t firstId);

}  // namespace vela::rc
