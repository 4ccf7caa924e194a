// Runs a function in a forked child and gives back its exit code, for tests of what holds
// between processes. The child has a watchdog so a hang ends as a failure, not a stuck run.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace vela::testing {

constexpr int kChildTimedOut = 250;

// The child runs body and exits with its result; only async-signal-safe work is expected of
// the parent meanwhile, so call this with no other threads of the test running.
inline int RunInChild(const std::function<int()>& body, unsigned watchdogSeconds = 10) {
  const pid_t pid = fork();
  if (pid < 0) {
    ADD_FAILURE() << "fork failed";
    return -1;
  }
  if (pid == 0) {
    alarm(watchdogSeconds);
    _exit(body());
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (WIFSIGNALED(status)) {
    return WTERMSIG(status) == SIGALRM ? kChildTimedOut : 128 + WTERMSIG(status);
  }
  return WEXITSTATUS(status);
}

// A pipe used as a one-shot signal between a parent and a forked child.
class Signal {
 public:
  Signal() {
    if (pipe(fds_) != 0) {
      ADD_FAILURE() << "pipe failed";
    }
  }
  ~Signal() {
    close(fds_[0]);
    close(fds_[1]);
  }
  Signal(const Signal&) = delete;
  Signal& operator=(const Signal&) = delete;

  void Raise() {
    const char byte = 1;
    (void)!write(fds_[1], &byte, 1);
  }
  // False when nothing came within the watchdog's time.
  bool Wait(int watchdogMs = 10000) {
    pollfd p{fds_[0], POLLIN, 0};
    if (poll(&p, 1, watchdogMs) != 1) {
      return false;
    }
    char byte;
    return read(fds_[0], &byte, 1) == 1;
  }

 private:
  int fds_[2];
};

}  // namespace vela::testing
