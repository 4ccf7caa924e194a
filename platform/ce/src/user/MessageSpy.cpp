// Recording for vela/MessageSpy.h.
#include <vela/MessageSpy.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "user/SpyRecorder.h"

namespace vela {

struct MessageSpy::State {
  mutable std::mutex mutex;
  std::vector<HWND> windows;
  std::vector<DWORD> threads;
  std::vector<SpiedMessage> messages;
};

namespace {

struct Registry {
  std::mutex mutex;
  std::vector<std::shared_ptr<MessageSpy::State>> spies;
};

Registry& Spies() {
  static auto* registry = new Registry;
  return *registry;
}

}  // namespace

MessageSpy::MessageSpy() : state_(std::make_shared<State>()) {
  std::lock_guard lock(Spies().mutex);
  Spies().spies.push_back(state_);
  ++user::g_activeSpies;
}

MessageSpy::~MessageSpy() {
  std::lock_guard lock(Spies().mutex);
  std::erase(Spies().spies, state_);
  --user::g_activeSpies;
}

void MessageSpy::Watch(HWND hwnd) {
  std::lock_guard lock(state_->mutex);
  state_->windows.push_back(hwnd);
}

void MessageSpy::WatchThread(DWORD threadId) {
  std::lock_guard lock(state_->mutex);
  state_->threads.push_back(threadId == 0 ? GetCurrentThreadId() : threadId);
}

std::vector<SpiedMessage> MessageSpy::Messages() const {
  std::lock_guard lock(state_->mutex);
  return state_->messages;
}

std::vector<SpiedMessage> MessageSpy::Take() {
  std::lock_guard lock(state_->mutex);
  return std::exchange(state_->messages, {});
}

void MessageSpy::Clear() {
  std::lock_guard lock(state_->mutex);
  state_->messages.clear();
}

}  // namespace vela

namespace vela::user {

std::atomic<int> g_activeSpies{0};

void RecordForSpies(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
  std::vector<std::shared_ptr<MessageSpy::State>> spies;
  {
    std::lock_guard lock(Spies().mutex);
    spies = Spies().spies;
  }
  // Window procedures run on the window's own thread.
  const DWORD thread = GetCurrentThreadId();
  for (auto& spy : spies) {
    std::lock_guard lock(spy->mutex);
    const bool watched = std::find(spy->windows.begin(), spy->windows.end(), hwnd) != spy->windows.end() ||
                         std::find(spy->threads.begin(), spy->threads.end(), thread) != spy->threads.end();
    if (watched) {
      spy->messages.push_back({hwnd, message, wParam, lParam, posted});
    }
  }
}

}  // namespace vela::user
