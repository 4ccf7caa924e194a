// A child process started by CreateProcess. A reaper thread waits for the host process and
// then signals the object, so every waiter and GetExitCodeProcess see the end at once.
#pragma once

#include <processthreadsapi.h>
#include <sys/types.h>

#include <atomic>
#include <memory>

#include "kernel/Waitable.h"

namespace vela::process {

class ProcessObject : public kernel::Waitable {
 public:
  static constexpr kernel::ObjectKind kKind = kernel::ObjectKind::Process;
  kernel::ObjectKind Kind() const override { return kKind; }

  // Starts reaping pid; the reaper holds the object until the process ends.
  static std::shared_ptr<ProcessObject> Watch(pid_t pid);
  // The watched process pid while it runs; null once it has ended (or was never started here).
  static std::shared_ptr<ProcessObject> FindRunning(pid_t pid);

  pid_t Pid() const { return pid_; }
  // STILL_ACTIVE until the process ended.
  DWORD ExitCode() const { return exitCode_.load(); }
  // Ends the process; its exit code becomes code. False when it had ended already.
  bool Terminate(DWORD code);

  explicit ProcessObject(pid_t pid) : pid_(pid) {}

 private:
  void Reap();

  const pid_t pid_;
  std::atomic<DWORD> exitCode_{STILL_ACTIVE};
  std::atomic<bool> terminating_{false};
  std::atomic<DWORD> terminateCode_{0};
};

}  // namespace vela::process
