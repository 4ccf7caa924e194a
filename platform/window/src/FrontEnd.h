// The desktop window's thread: it owns everything of SDL, shows the screen, turns the mouse and
// keys into the terminal's stylus, keys and actions, and drives the platform clock in real time.
// Input goes in only between clock steps and while the UI thread is idle, so each event has a
// known virtual time and a recording of it replays the same.
#pragma once

#include <windef.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <vela/Screen.h>

#include "KeyBindings.h"
#include "ShotNames.h"
#include "WindowSettings.h"

union SDL_Event;

namespace vela::window {

class Presenter;
class RecordingSession;

class FrontEnd {
 public:
  FrontEnd();
  ~FrontEnd();
  FrontEnd(const FrontEnd&) = delete;
  FrontEnd& operator=(const FrontEnd&) = delete;

  // Opens the window for the UI thread uiThread and returns once it is up: "" or why not (no
  // display, a bad bindings file ...). The platform clock is manual from then on.
  std::string Start(const WindowSettings& settings, DWORD uiThread);
  // Ends a recording with quit, closes the window and joins its thread. Idempotent.
  void Stop();

  // For tests: waits until every SDL event pushed before the call has gone in and the UI
  // thread has become idle after it. False on time-out (host time) or when not running.
  bool WaitUntilSettled(std::chrono::milliseconds timeout);
  // For tests: what the window shows, at its own size.
  vela::screen::Image Shown() const;

 private:
  // What a desktop event asks of the terminal; carried out between clock steps.
  struct Request;

  void Run(std::promise<std::string>* started);
  std::string Open();
  void Loop();
  void Close();
  // Polls SDL's queue: the window's own events are handled at once, the terminal's queued.
  void Collect(const SDL_Event* first);
  void Handle(const SDL_Event& event);
  void HandleKey(const SDL_Event& event);
  void Carry(const Request& request);
  std::string Apply(const std::string& words);
  // Waits until the UI thread is idle, still collecting events; false when stopping.
  bool AwaitIdle();
  void UpdateTitle();
  void MarkSettled();

  WindowSettings settings_;
  DWORD uiThread_ = 0;
  KeyBindings bindings_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> dirty_{true};
  std::unique_ptr<Presenter> presenter_;
  std::unique_ptr<RecordingSession> recording_;
  std::deque<Request> requests_;
  ShotNames shots_{""};
  bool sdlUp_ = false;
  bool quitSent_ = false;
  bool pressed_ = false;
  int lastX_ = 0, lastY_ = 0;
  bool helpShown_ = false;
  std::unique_ptr<vela::screen::Image> help_;
  int frameListener_ = 0;
  std::uint64_t terminalListener_ = 0;
  bool running_ = false;

  // Actions other shells sent, from the control listener's thread.
  std::mutex observedLock_;
  std::vector<std::string> observed_;

  // Settled-waits of tests: rounds of the loop done.
  std::mutex settleLock_;
  std::condition_variable settled_;
  std::uint64_t rounds_ = 0;
  bool loopEnded_ = false;
};

}  // namespace vela::window
