#include "Presenter.h"

#include <SDL_pixels.h>
#include <SDL_surface.h>

#include <algorithm>

#include "HelpOverlay.h"
#include "Scaler.h"

namespace vela::window {

Presenter::~Presenter() { CloseWindow(); }

void Presenter::CloseWindow() {
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
}

std::string Presenter::Open(const std::string& title, int zoom) {
  zoom_ = zoom;
  width_ = vela::screen::Width();
  height_ = vela::screen::Height();
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width_ * zoom_,
                             height_ * zoom_, SDL_WINDOW_SHOWN);
  if (!window_) return std::string("cannot open a window: ") + SDL_GetError();
  return {};
}

void Presenter::SetTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void Presenter::Present(bool suspended, const vela::screen::Image* help) {
  if (!window_) return;
  const vela::screen::FrameView view = vela::screen::View();
  const int w = view.width * zoom_, h = view.height * zoom_;
  if (view.width != width_ || view.height != height_) {
    // The application resized the screen: the window follows.
    SDL_SetWindowSize(window_, w, h);
  }
  {
    std::lock_guard guard(shownLock_);
    width_ = view.width;
    height_ = view.height;
    picture_.resize(static_cast<size_t>(w) * h);
    if (suspended) {
      std::fill(picture_.begin(), picture_.end(), 0u);
    } else {
      ScaleNearest(view.pixels, view.width, view.height, view.stride, zoom_, picture_.data(), w);
    }
    if (help && help->width == w && help->height == h) LayOver(*help, picture_.data(), w);
  }
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface || surface->w < w || surface->h < h) return;  // a resize not yet through; next time
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, picture_.data(), w * 4, surface->format->format, surface->pixels,
                    surface->pitch);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(window_);
}

vela::screen::Image Presenter::Shown() const {
  std::lock_guard guard(shownLock_);
  vela::screen::Image image;
  image.width = width_ * zoom_;
  image.height = height_ * zoom_;
  image.pixels = picture_;
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height) image.pixels.clear();
  return image;
}

}  // namespace vela::window
