// Shared by the window's tests: SDL's video part on its dummy driver, so no display is needed,
// and a watchdog for tests that wait on another thread.
#pragma once

#include <SDL.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace vela::window::test {

inline void UseDummyVideo() { ::setenv("SDL_VIDEODRIVER", "dummy", 1); }

// SDL's video part up for the length of a test (key names need it).
class DummyVideo {
 public:
  DummyVideo() {
    UseDummyVideo();
    up_ = SDL_Init(SDL_INIT_VIDEO) == 0;
    EXPECT_TRUE(up_) << SDL_GetError();
  }
  ~DummyVideo() {
    if (up_) SDL_Quit();
  }
  DummyVideo(const DummyVideo&) = delete;
  DummyVideo& operator=(const DummyVideo&) = delete;

 private:
  bool up_ = false;
};

// Ends the process when a test hangs longer than a minute, rather than leaving CI waiting.
class Watchdog {
 public:
  Watchdog() : thread_([this] {
    std::unique_lock guard(lock_);
    if (!done_.wait_for(guard, std::chrono::seconds(60), [this] { return finished_; })) {
      std::fprintf(stderr, "watchdog: test hung\n");
      std::_Exit(124);
    }
  }) {}
  ~Watchdog() {
    {
      std::lock_guard guard(lock_);
      finished_ = true;
    }
    done_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex lock_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

}  // namespace vela::window::test
