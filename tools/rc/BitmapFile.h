// .bmp files: the RT_BITMAP resource is the file without its BITMAPFILEHEADER.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Diagnostic.h"

namespace vela::rc {

// Header, colour table and pixel rows of an uncompressed 1/4/8/16/24/32-bit bitmap file, with the
// rows moved up behind the colour table when the file leaves a gap before them (the resource has
// no offset field). Errors are reported at where, naming the file.
std::vector<uint8_t> ReadBitmapFile(const std::string& bytes, const std::string& path, const SourceLocation& where);

}  // namespace vela::rc
