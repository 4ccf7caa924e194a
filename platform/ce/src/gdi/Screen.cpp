// The screen surface, its size and the watchers of its changes.
#include <vela/Screen.h>

#include <atomic>
#include <map>

#include "gdi/Dc.h"
#include "gdi/WindowDc.h"

namespace vela::gdi {
namespace {

constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;

struct ScreenState {
  Surface surface;
  std::uint64_t epoch = 1;
  std::atomic<std::uint64_t> frames{0};
  std::atomic<bool> hasListeners{false};
  std::map<int, vela::screen::FrameListener> listeners;
  int nextListener = 1;
  ScreenState() {
    surface.width = kDefaultWidth;
    surface.height = kDefaultHeight;
    surface.Allocate();
  }
};

ScreenState& State() {
  static auto* state = new ScreenState();
  return *state;
}

}  // namespace

Surface& ScreenSurfaceObject() { return State().surface; }
std::uint64_t ScreenEpoch() { return State().epoch; }

void ScreenTouched(const RECT& rect) {
  ScreenState& s = State();
  s.frames.fetch_add(1, std::memory_order_relaxed);
  if (!s.hasListeners.load(std::memory_order_acquire)) return;
  // Copied, so that a listener may remove itself.
  std::map<int, vela::screen::FrameListener> listeners;
  {
    GdiLock lock(GdiMutex());
    listeners = s.listeners;
  }
  for (auto& [id, listener] : listeners) listener(rect);
}

ScreenSurface Screen() {
  GdiLock lock(GdiMutex());
  Surface& s = ScreenSurfaceObject();
  return ScreenSurface{s.Row32(0), s.width, s.height, s.strideBytes / 4};
}

void ScreenRectChanged(const RECT& rect) { ScreenTouched(rect); }

}  // namespace vela::gdi

namespace vela::screen {

using vela::gdi::GdiLock;
using vela::gdi::GdiMutex;

int Width() {
  GdiLock lock(GdiMutex());
  return gdi::ScreenSurfaceObject().width;
}

int Height() {
  GdiLock lock(GdiMutex());
  return gdi::ScreenSurfaceObject().height;
}

void Resize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  {
    GdiLock lock(GdiMutex());
    auto& state = gdi::State();
    state.surface.width = width;
    state.surface.height = height;
    state.surface.Allocate();
    ++state.epoch;
  }
  gdi::ScreenTouched(RECT{0, 0, width, height});
}

std::uint32_t Pixel(int x, int y) {
  GdiLock lock(GdiMutex());
  const gdi::Surface& s = gdi::ScreenSurfaceObject();
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return 0;
  return s.Row32(y)[x];
}

FrameView View() {
  GdiLock lock(GdiMutex());
  const gdi::Surface& s = gdi::ScreenSurfaceObject();
  return FrameView{s.Row32(0), s.width, s.height, s.strideBytes / 4};
}

std::uint64_t FrameCounter() { return gdi::State().frames.load(std::memory_order_relaxed); }

int AddFrameListener(FrameListener listener) {
  GdiLock lock(GdiMutex());
  auto& state = gdi::State();
  const int id = state.nextListener++;
  state.listeners.emplace(id, std::move(listener));
  state.hasListeners.store(true, std::memory_order_release);
  return id;
}

void RemoveFrameListener(int id) {
  GdiLock lock(GdiMutex());
  auto& state = gdi::State();
  state.listeners.erase(id);
  state.hasListeners.store(!state.listeners.empty(), std::memory_order_release);
}

}  // namespace vela::screen
