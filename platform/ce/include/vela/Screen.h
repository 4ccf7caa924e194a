// The simulated terminal's screen for tests, the simulator and its front ends: size, pixels,
// change notification and PNG pictures of it.
#pragma once

#include <windef.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vela::screen {

int Width();
int Height();
// A new size clears the screen to black; DCs still held draw only where the new screen has room.
// Default 240 x 320.
void Resize(int width, int height);
// 0x00RRGGBB of one pixel; 0 outside the screen.
std::uint32_t Pixel(int x, int y);

// Zero-copy access for a front end: the pixels stay valid until the next Resize.
struct FrameView {
  const std::uint32_t* pixels;
  int width;
  int height;
  int stride;  // in pixels
};
FrameView View();
// Counts every drawing operation that reached the screen.
std::uint64_t FrameCounter();
// Called (on the drawing thread) with the changed screen rectangle after each drawing operation.
using FrameListener = std::function<void(const RECT& changed)>;
int AddFrameListener(FrameListener listener);
void RemoveFrameListener(int id);

// An image in memory, 0x00RRGGBB, rows packed.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// A copy of a rectangle of the screen, cut to the screen.
Image Capture(const RECT& rect);
Image CaptureScreen();

// PNG files (8-bit RGB, no time stamp, so equal pictures give equal bytes); host paths.
bool SavePng(const Image& image, const std::string& path);
std::optional<Image> LoadPng(const std::string& path);
bool SaveScreenPng(const std::string& path);
bool SaveRectPng(const RECT& rect, const std::string& path);
// The window's rectangle on the screen (with its frame), as the window manager knows it.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace vela::screen
