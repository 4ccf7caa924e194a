// Per-window state of a built-in control, created on WM_CREATE and dropped on WM_DESTROY.
// Kept beside the window rather than in its extra bytes, so applications that subclass or
// read the extra bytes of a control cannot disturb it.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "windows.h"

namespace vela::controls {

template <typename State>
class ControlStates {
 public:
  State* find(HWND hwnd) {
    std::lock_guard lock(mutex_);
    auto it = states_.find(hwnd);
    return it == states_.end() ? nullptr : it->second.get();
  }
  State* create(HWND hwnd) {
    std::lock_guard lock(mutex_);
    auto& slot = states_[hwnd];
    slot = std::make_unique<State>();
    return slot.get();
  }
  // Finds the state, making it when a message arrives before WM_CREATE was seen (a window
  // subclassed into the class after creation).
  State* get(HWND hwnd) {
    State* state = find(hwnd);
    return state ? state : create(hwnd);
  }
  void destroy(HWND hwnd) {
    std::unique_ptr<State> dropped;
    std::lock_guard lock(mutex_);
    auto it = states_.find(hwnd);
    if (it == states_.end()) return;
    dropped = std::move(it->second);
    states_.erase(it);
  }

 private:
  std::mutex mutex_;
  std::map<HWND, std::unique_ptr<State>> states_;
};

}  // namespace vela::controls
