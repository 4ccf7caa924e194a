// Identities of the calling process and thread.
#include <processthreadsapi.h>

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The host's thread id, unique across processes as the platform's thread ids are. Kept per
// thread to save a system call per use; a forked child's only thread gets a new id.
thread_local DWORD t_threadId = 0;

[[maybe_unused]] const bool g_forkHandler = [] {
  pthread_atfork(nullptr, nullptr, [] { t_threadId = 0; });
  return true;
}();

}  // namespace

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

DWORD GetCurrentThreadId() {
  if (t_threadId == 0) {
    t_threadId = static_cast<DWORD>(syscall(SYS_gettid));
  }
  return t_threadId;
}

// The platform's values of its pseudo-handles for the current thread and process.
HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(uintptr_t{0x41}); }
HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(uintptr_t{0x42}); }
