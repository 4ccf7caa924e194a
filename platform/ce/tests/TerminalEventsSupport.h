// Helpers for the tests of what terminal changes produce: a suspend ended by WakeUp from the
// test's own thread (so the wake-up's listeners run there), and a queue read without waiting.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <msgqueue.h>
#include <unistd.h>
#include <vela/Terminal.h>

#include <thread>
#include <vector>

namespace vela::testing {

// Suspends on a helper thread and wakes the terminal from this one.
inline void SuspendAndWake() {
  unsigned watchdog = alarm(10);
  terminal::Terminal& t = terminal::Get();
  std::thread sleeper([&t] { t.Suspend(); });
  while (!t.IsSuspended()) {
    std::this_thread::yield();
  }
  t.WakeUp();
  sleeper.join();
  alarm(watchdog);
}

// A queue the test reads; cbMaxMessage as the kit's readers ask for.
inline HANDLE MakeReadQueue(DWORD maxMessage) {
  MSGQUEUEOPTIONS options{};
  options.dwSize = sizeof options;
  options.cbMaxMessage = maxMessage;
  options.bReadAccess = TRUE;
  return CreateMsgQueue(nullptr, &options);
}

// Every message waiting now, without blocking.
inline std::vector<std::vector<unsigned char>> Drain(HANDLE queue, DWORD maxMessage) {
  std::vector<std::vector<unsigned char>> messages;
  std::vector<unsigned char> buffer(maxMessage);
  DWORD read = 0;
  DWORD flags = 0;
  while (ReadMsgQueue(queue, buffer.data(), maxMessage, &read, 0, &flags)) {
    messages.emplace_back(buffer.begin(), buffer.begin() + read);
  }
  return messages;
}

}  // namespace vela::testing
