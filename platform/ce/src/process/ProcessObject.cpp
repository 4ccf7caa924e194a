#include "process/ProcessObject.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>

namespace vela::process {
namespace {

// Running children by pid, for those that know a child only by its id (the script player).
struct Running {
  std::mutex mutex;
  std::map<pid_t, std::weak_ptr<ProcessObject>> byPid;
};

Running& TheRunning() {
  static auto* running = new Running;  // reaper threads may outlive static destruction
  return *running;
}

}  // namespace

std::shared_ptr<ProcessObject> ProcessObject::Watch(pid_t pid) {
  auto process = std::make_shared<ProcessObject>(pid);
  {
    Running& running = TheRunning();
    std::lock_guard<std::mutex> guard(running.mutex);
    running.byPid[pid] = process;
  }
  std::thread([process] { process->Reap(); }).detach();
  return process;
}

std::shared_ptr<ProcessObject> ProcessObject::FindRunning(pid_t pid) {
  Running& running = TheRunning();
  std::lock_guard<std::mutex> guard(running.mutex);
  const auto it = running.byPid.find(pid);
  return it == running.byPid.end() ? nullptr : it->second.lock();
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
  {
    // Before the signal: whoever sees the end must not find the process running.
    Running& running = TheRunning();
    std::lock_guard<std::mutex> guard(running.mutex);
    // A new child may already have the pid again.
    const auto it = running.byPid.find(pid_);
    if (it != running.byPid.end() && it->second.lock().get() == this) running.byPid.erase(it);
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
