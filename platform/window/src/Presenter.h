// The SDL window that shows the screen: scaled by hand into the window's surface, so it works
// with every video driver (the dummy and offscreen ones of tests too). Window thread only.
#pragma once

#include <SDL_video.h>

#include <vela/Screen.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace vela::window {

class Presenter {
 public:
  Presenter() = default;
  ~Presenter();
  Presenter(const Presenter&) = delete;
  Presenter& operator=(const Presenter&) = delete;

  // "" or why the window could not be made.
  std::string Open(const std::string& title, int zoom);
  void SetTitle(const std::string& title);
  // Destroys the window; what it showed last stays readable.
  void CloseWindow();
  int Zoom() const { return zoom_; }

  // Shows the screen as it is now: dark while the terminal is suspended, with the help laid
  // over it when one is given.
  void Present(bool suspended, const vela::screen::Image* help);

  // What the window shows, at its own size (for tests).
  vela::screen::Image Shown() const;

 private:
  SDL_Window* window_ = nullptr;
  int zoom_ = 1;
  int width_ = 0, height_ = 0;  // of the screen
  std::vector<std::uint32_t> picture_;
  mutable std::mutex shownLock_;
};

}  // namespace vela::window
