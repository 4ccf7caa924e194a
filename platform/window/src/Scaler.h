// The screen at an integer zoom: pixels blown up for the window, window points mapped back to
// the screen pixel under them.
#pragma once

#include <cstdint>
#include <optional>

namespace vela::window {

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 4;

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// The screen pixel under window point (wx, wy), or nullopt when the point lies outside.
std::optional<ScreenPoint> ScreenPointAt(int wx, int wy, int zoom, int screenWidth, int screenHeight);

// The same, pulled to the nearest screen edge: a drag that leaves the window still ends on it.
ScreenPoint ClampedScreenPointAt(int wx, int wy, int zoom, int screenWidth, int screenHeight);

// Nearest-neighbour: each source pixel becomes a zoom x zoom block. Strides are in pixels;
// dst holds width * zoom by height * zoom pixels.
void ScaleNearest(const std::uint32_t* src, int width, int height, int srcStride, int zoom, std::uint32_t* dst,
                  int dstStride);

}  // namespace vela::window
