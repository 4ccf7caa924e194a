// Drawn here rather than shipped as files: simple shapes in the system's colours, enough to tell
// the kinds apart on the terminal's screen.
#include "images/SystemIcons.h"

#include "images/DibPixels.h"
#include "images/IconImage.h"

namespace vela::images {
namespace {

constexpr uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kNavy = 0xFF000080u;
constexpr uint32_t kRed = 0xFFFF0000u, kYellow = 0xFFFFFF00u, kBlue = 0xFF0000FFu;

enum class Shape { Window, Disc, Triangle };

struct SystemIcon {
  WORD id;
  Shape shape;
  uint32_t fill;
};

const SystemIcon kIcons[] = {
    {32512, Shape::Window, kWhite},   // IDI_APPLICATION
    {32513, Shape::Disc, kRed},       // IDI_HAND
    {32514, Shape::Disc, kBlue},      // IDI_QUESTION
    {32515, Shape::Triangle, kYellow},// IDI_EXCLAMATION
    {32516, Shape::Disc, kBlue},      // IDI_ASTERISK
};

// Draws on a 32 x 32 grid; the caller's size stretches it.
void Draw(const SystemIcon& icon, Pixels* pixels, std::vector<uint8_t>* mask) {
  constexpr int kSide = 32;
  pixels->width = pixels->height = kSide;
  pixels->argb.assign(kSide * kSide, 0);
  mask->assign(kSide * kSide, 1);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      bool inside = false;
      bool edge = false;
      switch (icon.shape) {
        case Shape::Window:
          inside = x >= 2 && x < 30 && y >= 4 && y < 28;
          edge = inside && (x == 2 || x == 29 || y == 4 || y == 27);
          break;
        case Shape::Disc: {
          const int dx = 2 * x - 31, dy = 2 * y - 31;
          inside = dx * dx + dy * dy <= 29 * 29;
          edge = inside && dx * dx + dy * dy > 25 * 25;
          break;
        }
        case Shape::Triangle:
          inside = y >= 3 && y < 29 && 2 * (x - 16) <= y - 3 && 2 * (16 - x) <= y - 3 + 1;
          edge = inside && (y == 28 || 2 * (x - 16) >= y - 5 || 2 * (16 - x) >= y - 4);
          break;
      }
      if (!inside) {
        continue;
      }
      uint32_t colour = edge ? kBlack : icon.fill;
      if (icon.shape == Shape::Window && y >= 5 && y < 9 && !edge) {
        colour = kNavy;  // the title bar
      }
      pixels->argb[static_cast<size_t>(y * kSide + x)] = colour;
      (*mask)[static_cast<size_t>(y * kSide + x)] = 0;
    }
  }
}

}  // namespace

HICON LoadSystemIcon(LPCWSTR name, int cx, int cy, UINT flags) {
  if (IS_INTRESOURCE(name)) {
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    for (const SystemIcon& icon : kIcons) {
      if (icon.id == id) {
        Pixels pixels;
        std::vector<uint8_t> mask;
        Draw(icon, &pixels, &mask);
        Scale(&pixels, &mask, cx, cy);
        return MakeIcon(std::move(pixels), std::move(mask), true, POINT{0, 0}, flags);
      }
    }
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

}  // namespace vela::images
