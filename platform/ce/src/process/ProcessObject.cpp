#include "process/ProcessObject.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

namespace vela::process {

std::shared_ptr<ProcessObject> ProcessObject::Watch(pid_t pid) {
  auto process = std::make_shared<ProcessObject>(pid);
  std::thread([process] { process->Reap(); }).detach();
  return process;
}

void ProcessObject::Reap() {
  int status = 0;
  pid_t got;
  do {
    got = waitpid(pid_, &status, 0);
  } while (got < 0 && errno == EINTR);
  DWORD code;
  if (got < 0) {
    code = 0xC0000000;  // reaped by someone else: the exit code is lost
  } else if (terminating_.load()) {
    code = terminateCode_.load();
  } else if (WIFEXITED(status)) {
    code = static_cast<DWORD>(WEXITSTATUS(status));
  } else {
    // Ended by a host signal, as the terminal reports an unhandled exception.
    code = 0xC0000000u | static_cast<DWORD>(WTERMSIG(status));
  }
  exitCode_.store(code);
  Signal();
}

bool ProcessObject::Terminate(DWORD code) {
  if (exitCode_.load() != STILL_ACTIVE) {
    return false;
  }
  terminateCode_.store(code);
  if (terminating_.exchange(true)) {
    return false;
  }
  return kill(pid_, SIGKILL) == 0;
}

}  // namespace vela::process
