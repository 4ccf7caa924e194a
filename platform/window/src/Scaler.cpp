#include "Scaler.h"

#include <algorithm>
#include <cstring>

namespace vela::window {
namespace {

// Rounds towards minus infinity, so that -1 at zoom 2 is pixel -1 and not 0.
int FloorDiv(int value, int divisor) {
  const int quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

std::optional<ScreenPoint> ScreenPointAt(int wx, int wy, int zoom, int screenWidth, int screenHeight) {
  const ScreenPoint point{FloorDiv(wx, zoom), FloorDiv(wy, zoom)};
  if (point.x < 0 || point.y < 0 || point.x >= screenWidth || point.y >= screenHeight) return std::nullopt;
  return point;
}

ScreenPoint ClampedScreenPointAt(int wx, int wy, int zoom, int screenWidth, int screenHeight) {
  return ScreenPoint{std::clamp(FloorDiv(wx, zoom), 0, std::max(screenWidth - 1, 0)),
                     std::clamp(FloorDiv(wy, zoom), 0, std::max(screenHeight - 1, 0))};
}

void ScaleNearest(const std::uint32_t* src, int width, int height, int srcStride, int zoom, std::uint32_t* dst,
                  int dstStride) {
  const size_t rowBytes = static_cast<size_t>(width) * zoom * sizeof(std::uint32_t);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* in = src + static_cast<ptrdiff_t>(y) * srcStride;
    std::uint32_t* first = dst + static_cast<ptrdiff_t>(y) * zoom * dstStride;
    std::uint32_t* out = first;
    for (int x = 0; x < width; ++x) {
      for (int i = 0; i < zoom; ++i) *out++ = in[x];
    }
    // The other rows of the block are copies of the first.
    for (int i = 1; i < zoom; ++i) std::memcpy(first + static_cast<ptrdiff_t>(i) * dstStride, first, rowBytes);
  }
}

}  // namespace vela::window
