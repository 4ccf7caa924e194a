// How many threads made by CreateThread have work to do: running, or woken and not yet back
// in a platform wait. Scripts on the manual clock use it to let the application's own threads
// (a battery notifier, a wake-up watcher) finish what a change gave them before looking at the
// screen, instead of hoping that enough host time has passed.
#pragma once

#include <chrono>

namespace vela::kernel::activity {

// A counted thread begins to have work (it starts, or something wakes it).
void Busy();
// A counted thread has none (it ended, or blocks in a platform wait).
void Idle();

// Marks the calling thread as one whose platform waits count (threads of CreateThread).
void CountCurrentThread();
bool IsCurrentThreadCounted();

// Waits (host time) until no counted thread has work. False on time-out; after a time-out the
// next waits are short, so a thread stuck outside the platform's waits cannot slow every step.
bool WaitUntilSettled(std::chrono::milliseconds timeout);
bool IsSettled();

}  // namespace vela::kernel::activity
