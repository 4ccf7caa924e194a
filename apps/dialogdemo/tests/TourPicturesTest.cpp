// What the dialog demo's tour saved: each step left its mark on the screen. The tour itself runs
// as the test dialogdemo_tour before these.
#include <gtest/gtest.h>
#include <vela/Screen.h>

#include <cstdint>
#include <string>

#include "GoldenImage.h"

namespace {

using vela::screen::Image;

constexpr std::uint32_t kRed = 0xC02020;
constexpr std::uint32_t kGreen = 0x209030;
constexpr std::uint32_t kPressedRed = 0x901818;  // three quarters of each channel
constexpr std::uint32_t kDisabledFace = 0xC0C0C0;

// Points inside the swatch and the owner-drawn button, away from their text.
constexpr int kSwatchX = 30, kSwatchY = 100;
constexpr int kButtonX = 30, kButtonY = 170;

Image Load(const char* name) {
  const auto image = vela::screen::LoadPng(std::string(DIALOGDEMO_SHOTS) + "/" + name);
  if (!image) {
    ADD_FAILURE() << "the tour saved no " << name;
    return Image{240, 320, std::vector<std::uint32_t>(240 * 320, 0)};
  }
  return *image;
}

// Whether any pixel of a band of rows differs between two pictures.
bool BandDiffers(const Image& a, const Image& b, int top, int bottom) {
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.At(x, y) != b.At(x, y)) return true;
    }
  }
  return false;
}

TEST(TourPictures, EachStepChangesOnlyWhatItShould) {
  const Image start = Load("start.png");
  const Image greeting = Load("greeting.png");
  const Image timer = Load("timer.png");
  ASSERT_EQ(start.width, 240);
  ASSERT_EQ(start.height, 320);

  // The greeting row changes with the tap, the counter row with the timer, nothing else.
  EXPECT_TRUE(BandDiffers(start, greeting, 28, 46));
  EXPECT_FALSE(BandDiffers(start, greeting, 52, 320));
  EXPECT_TRUE(BandDiffers(greeting, timer, 52, 72));
  EXPECT_FALSE(BandDiffers(greeting, timer, 0, 52));
  EXPECT_FALSE(BandDiffers(greeting, timer, 76, 320));
}

TEST(TourPictures, OwnerDrawnButtonShowsPressedAndDisabledLooks) {
  EXPECT_EQ(Load("start.png").At(kButtonX, kButtonY), kRed);
  EXPECT_EQ(Load("pressed.png").At(kButtonX, kButtonY), kPressedRed);
  EXPECT_EQ(Load("locked.png").At(kButtonX, kButtonY), kDisabledFace);
}

TEST(TourPictures, ButtonClickRecoloursTheSubclassedSwatch) {
  EXPECT_EQ(Load("pressed.png").At(kSwatchX, kSwatchY), kRed);  // not before the button is let go
  const Image green = Load("green.png");
  EXPECT_EQ(green.At(kSwatchX, kSwatchY), kGreen);
  EXPECT_EQ(green.At(kButtonX, kButtonY), kGreen);
}

// One whole picture, to catch what the points above miss (text, frames, focus).
TEST(TourPictures, LockedDialogMatchesItsReference) {
  EXPECT_TRUE(golden::MatchesGolden(Load("locked.png"), DIALOGDEMO_GOLDEN, "dialogdemo_locked"));
}

}  // namespace
