// The window manager's side of vela/MessageSpy.h: every window procedure call passes here.
#pragma once

#include <windows.h>

#include <atomic>

namespace vela::user {

extern std::atomic<int> g_activeSpies;

void RecordForSpies(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool posted);

inline void SpyOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
  if (g_activeSpies.load(std::memory_order_relaxed) != 0) {
    RecordForSpies(hwnd, message, wParam, lParam, posted);
  }
}

}  // namespace vela::user
