// Records the messages that window procedures receive, for message-sequence tests. Every call
// of a window's procedure by the window manager is recorded once (calls that a subclassing
// procedure passes on with CallWindowProc are not recorded again).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

namespace vela {

struct SpiedMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool posted;  // delivered through the queue (DispatchMessage), else sent
};

class MessageSpy {
 public:
  MessageSpy();
  ~MessageSpy();
  MessageSpy(const MessageSpy&) = delete;
  MessageSpy& operator=(const MessageSpy&) = delete;

  // One window (and nothing else of it: not its children).
  void Watch(HWND hwnd);
  // Every window of a thread, also those created later (0: the calling thread).
  void WatchThread(DWORD threadId = 0);

  std::vector<SpiedMessage> Messages() const;
  // The messages so far, and forgets them.
  std::vector<SpiedMessage> Take();
  void Clear();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace vela
