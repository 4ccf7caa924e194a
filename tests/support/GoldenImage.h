// Compares an area of the simulated screen with a reference picture, golden/<name>.png. On a
// mismatch it writes <name>_actual.png and <name>_diff.png (differences in red over a faded
// copy) into the test's output folder and fails. A reference is only ever written when the
// person running the test sets VELA_UPDATE_GOLDEN=1 by hand, and then has to be looked at.
#pragma once

#include <gtest/gtest.h>
#include <vela/Screen.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace golden {

// Where mismatch pictures go: VELA_TEST_OUTPUT, else "golden-out" in the working folder
// (the build folder under ctest).
inline std::filesystem::path OutputFolder() {
  const char* env = std::getenv("VELA_TEST_OUTPUT");
  std::filesystem::path folder = env && *env ? std::filesystem::path(env) : std::filesystem::current_path() / "golden-out";
  std::filesystem::create_directories(folder);
  return folder;
}

// Pixels differ when a channel differs by more than `tolerance`; up to `allowedPixels` such
// pixels still match.
inline ::testing::AssertionResult MatchesGolden(const vela::screen::Image& actual, const std::filesystem::path& goldenDir,
                        const std::string& name, int tolerance = 2, int allowedPixels = 0) {
  const std::filesystem::path reference = goldenDir / (name + ".png");
  const char* update = std::getenv("VELA_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::filesystem::create_directories(goldenDir);
    if (!vela::screen::SavePng(actual, reference.string())) {
      return ::testing::AssertionFailure() << "cannot write " << reference;
    }
    return ::testing::AssertionSuccess() << "wrote " << reference << " (look at it before committing)";
  }
  const auto expected = vela::screen::LoadPng(reference.string());
  const std::filesystem::path out = OutputFolder();
  const std::string actualPath = (out / (name + "_actual.png")).string();
  if (!expected) {
    vela::screen::SavePng(actual, actualPath);
    return ::testing::AssertionFailure() << "no reference picture " << reference << "; the picture drawn is "
                       << actualPath << " (VELA_UPDATE_GOLDEN=1 creates the reference)";
  }
  if (expected->width != actual.width || expected->height != actual.height) {
    vela::screen::SavePng(actual, actualPath);
    return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height << ", reference "
                       << expected->width << "x" << expected->height << "; see " << actualPath;
  }
  vela::screen::Image diff = actual;
  int differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const std::uint32_t a = actual.At(x, y), e = expected->At(x, y);
      bool differs = false;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((e >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) differs = true;
      }
      std::uint32_t& p = diff.pixels[static_cast<size_t>(y) * diff.width + x];
      if (differs) {
        if (differing++ == 0) firstX = x, firstY = y;
        p = 0xFF0000;
      } else {
        // Faded, so that the red differences stand out.
        const std::uint32_t grey = (((a >> 16) & 0xFF) + ((a >> 8) & 0xFF) + (a & 0xFF)) / 3;
        const std::uint32_t light = 0xC0 + grey / 4;
        p = light << 16 | light << 8 | light;
      }
    }
  }
  if (differing <= allowedPixels) return ::testing::AssertionSuccess();
  const std::string diffPath = (out / (name + "_diff.png")).string();
  vela::screen::SavePng(actual, actualPath);
  vela::screen::SavePng(diff, diffPath);
  return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ, the first at (" << firstX << ","
                     << firstY << "); see " << actualPath << " and " << diffPath;
}

// The screen rectangle against golden/<name>.png.
inline ::testing::AssertionResult ScreenMatchesGolden(const RECT& rect, const std::filesystem::path& goldenDir,
                            const std::string& name, int tolerance = 2) {
  return MatchesGolden(vela::screen::Capture(rect), goldenDir, name, tolerance);
}

}  // namespace golden
