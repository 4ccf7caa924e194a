// The zoom both ways: every window pixel of a screen pixel's block maps back to it, points just
// outside map to nothing, drags are pulled to the edge, and the picture is blown up block-wise.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Scaler.h"

namespace {

using vela::window::ClampedScreenPointAt;
using vela::window::ScreenPoint;
using vela::window::ScreenPointAt;

constexpr int kWidth = 240, kHeight = 320;

TEST(ScalerTest, EveryZoomMapsTheBlockOfAPixelBackToIt) {
  for (int zoom = 1; zoom <= 4; ++zoom) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    // First and last window pixel of the first, a middle and the last screen pixel.
    for (const ScreenPoint pixel : {ScreenPoint{0, 0}, ScreenPoint{117, 205}, ScreenPoint{kWidth - 1, kHeight - 1}}) {
      for (const int dx : {0, zoom - 1}) {
        for (const int dy : {0, zoom - 1}) {
          const auto mapped = ScreenPointAt(pixel.x * zoom + dx, pixel.y * zoom + dy, zoom, kWidth, kHeight);
          ASSERT_TRUE(mapped.has_value());
          EXPECT_EQ(*mapped, pixel);
        }
      }
    }
    // One window pixel past each edge is off the screen; -1 must not round to 0.
    EXPECT_FALSE(ScreenPointAt(-1, 0, zoom, kWidth, kHeight));
    EXPECT_FALSE(ScreenPointAt(0, -1, zoom, kWidth, kHeight));
    EXPECT_FALSE(ScreenPointAt(kWidth * zoom, 0, zoom, kWidth, kHeight));
    EXPECT_FALSE(ScreenPointAt(0, kHeight * zoom, zoom, kWidth, kHeight));
  }
}

TEST(ScalerTest, ADragLeavingTheWindowIsPulledToTheNearestEdge) {
  EXPECT_EQ(ClampedScreenPointAt(-50, 100, 2, kWidth, kHeight), (ScreenPoint{0, 50}));
  EXPECT_EQ(ClampedScreenPointAt(-1, -1, 3, kWidth, kHeight), (ScreenPoint{0, 0}));
  EXPECT_EQ(ClampedScreenPointAt(5000, 5000, 4, kWidth, kHeight), (ScreenPoint{kWidth - 1, kHeight - 1}));
  EXPECT_EQ(ClampedScreenPointAt(kWidth * 2, 13, 2, kWidth, kHeight), (ScreenPoint{kWidth - 1, 6}));
}

TEST(ScalerTest, NearestNeighbourFillsEachBlockAndHonoursStrides) {
  // 3 x 2 source with a stride of 4 (the fourth column must not leak in).
  const std::vector<std::uint32_t> source = {1, 2, 3, 99, 4, 5, 6, 99};
  for (int zoom = 1; zoom <= 4; ++zoom) {
    const int stride = 3 * zoom + 1;  // one spare pixel per row, left untouched
    std::vector<std::uint32_t> out(static_cast<size_t>(stride) * 2 * zoom, 0xDEAD);
    vela::window::ScaleNearest(source.data(), 3, 2, 4, zoom, out.data(), stride);
    for (int y = 0; y < 2 * zoom; ++y) {
      for (int x = 0; x < 3 * zoom; ++x) {
        EXPECT_EQ(out[static_cast<size_t>(y) * stride + x], source[static_cast<size_t>(y / zoom) * 4 + x / zoom])
            << "zoom " << zoom << " at " << x << "," << y;
      }
      EXPECT_EQ(out[static_cast<size_t>(y) * stride + 3 * zoom], 0xDEADu);
    }
  }
}

}  // namespace
