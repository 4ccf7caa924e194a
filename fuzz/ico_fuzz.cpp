// Feeds arbitrary bytes to the readers behind the image loaders: icon directories, icon images
// (DIB with mask, or PNG), bitmap resources, and CreateIconFromResourceEx on top of them. The
// first byte picks the reader. Decoded pictures must be as large as they claim.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "images/DibPixels.h"
#include "images/IconDirectory.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckPicture(const vela::images::Pixels& pixels, const std::vector<uint8_t>* mask) {
  Check(pixels.width > 0 && pixels.height > 0);
  Check(pixels.argb.size() == static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
  if (mask) Check(mask->size() == pixels.argb.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0] % 5;
  // A copy of exactly the input's length, so reading past it is caught.
  std::vector<uint8_t> bytes(data + 1, data + size);
  vela::images::Pixels pixels;
  std::vector<uint8_t> mask;
  switch (mode) {
    case 0:
      if (vela::images::DecodeDib(bytes.data(), bytes.size(), true, &pixels, &mask)) CheckPicture(pixels, &mask);
      break;
    case 1:
      if (vela::images::DecodeDib(bytes.data(), bytes.size(), false, &pixels, nullptr)) CheckPicture(pixels, nullptr);
      break;
    case 2:
      if (vela::images::DecodePng(bytes.data(), bytes.size(), &pixels, &mask)) CheckPicture(pixels, &mask);
      break;
    case 3:
      vela::images::BestIconId(bytes.data(), bytes.size(), true, 16, 16, 0);
      vela::images::BestIconId(bytes.data(), bytes.size(), false, 0, 0, LR_MONOCHROME);
      break;
    default:
      // Stretching is bounded so that one input cannot ask for a huge picture.
      if (!bytes.empty()) {
        HICON icon = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x00030000,
                                              bytes[0] % 64, bytes[0] % 48, 0);
        if (icon) DestroyIcon(icon);
      }
      break;
  }
  return 0;
}
