// CreateThread and the functions on thread handles.
#include <processthreadsapi.h>
#include <winbase.h>

#include <pthread.h>

#include "kernel/HandleTable.h"
#include "kernel/ThreadObject.h"

using vela::kernel::ThreadObject;

namespace {

// Priority of a thread the platform did not start (the process's first thread, say).
thread_local int t_priority = THREAD_PRIORITY_NORMAL;

// The object of a thread handle; GetCurrentThread() names the caller's own (null when the
// caller was not made by CreateThread). ok tells a bad handle from the pseudo-handle.
std::shared_ptr<ThreadObject> ThreadOfHandle(HANDLE handle, bool& ok) {
  ok = true;
  if (handle == GetCurrentThread()) {
    return vela::kernel::CurrentThreadObjectShared();
  }
  auto thread = vela::kernel::LookupHandleAs<ThreadObject>(handle);
  ok = thread != nullptr;
  return thread;
}

void* ThreadStart(void* argument) {
  auto* self = static_cast<std::shared_ptr<ThreadObject>*>(argument);
  std::shared_ptr<ThreadObject> thread = std::move(*self);
  delete self;
  vela::kernel::StartThreadObject(std::move(thread));
  return nullptr;
}

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, DWORD /*dwStackSize*/,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                    LPDWORD lpThreadId) {
  if (lpThreadAttributes != nullptr || lpStartAddress == nullptr ||
      (dwCreationFlags & ~DWORD{CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION}) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<ThreadObject>(lpStartAddress, lpParameter,
                                               (dwCreationFlags & CREATE_SUSPENDED) != 0);
  HANDLE handle = vela::kernel::InsertHandle(thread);
  if (handle == nullptr) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return nullptr;
  }
  // Detached: a thread still running when the process exits must not be joined then.
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t host;
  auto* argument = new std::shared_ptr<ThreadObject>(thread);
  const int failed = pthread_create(&host, &attributes, ThreadStart, argument);
  pthread_attr_destroy(&attributes);
  if (failed != 0) {
    delete argument;
    thread->Uncount();
    vela::kernel::RemoveHandle(handle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const DWORD id = thread->WaitForId();
  if (lpThreadId != nullptr) {
    *lpThreadId = id;
  }
  return handle;
}

void ExitThread(DWORD dwExitCode) {
  if (ThreadObject* self = vela::kernel::CurrentThreadObject()) {
    self->SetPendingExitCode(dwExitCode);
  }
  pthread_exit(nullptr);  // unwinds the stack; the handle is signalled after the clean-up
}

BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode) {
  bool ok;
  std::shared_ptr<ThreadObject> thread = ThreadOfHandle(hThread, ok);
  if (!ok || (hThread == GetCurrentThread() && !thread)) {
    if (hThread == GetCurrentThread()) {
      ExitThread(dwExitCode);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (thread.get() == vela::kernel::CurrentThreadObject()) {
    thread->RequestTermination(dwExitCode);
    vela::kernel::CancellationPoint();
  }
  thread->RequestTermination(dwExitCode);  // false when it has ended already: still success
  return TRUE;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
  bool ok;
  std::shared_ptr<ThreadObject> thread = ThreadOfHandle(hThread, ok);
  if (!ok) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (lpExitCode == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpExitCode = thread ? thread->ExitCode() : STILL_ACTIVE;
  return TRUE;
}

DWORD ResumeThread(HANDLE hThread) {
  bool ok;
  std::shared_ptr<ThreadObject> thread = ThreadOfHandle(hThread, ok);
  if (!ok) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0xFFFFFFFF;
  }
  return thread ? thread->Resume() : 0;
}

BOOL SetThreadPriority(HANDLE hThread, int nPriority) {
  bool ok;
  std::shared_ptr<ThreadObject> thread = ThreadOfHandle(hThread, ok);
  if (!ok) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (nPriority < THREAD_PRIORITY_TIME_CRITICAL || nPriority > THREAD_PRIORITY_IDLE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Kept and reported, not passed to the host scheduler: the simulation needs no real-time.
  if (thread) {
    thread->SetPriority(nPriority);
  } else {
    t_priority = nPriority;
  }
  return TRUE;
}

int GetThreadPriority(HANDLE hThread) {
  bool ok;
  std::shared_ptr<ThreadObject> thread = ThreadOfHandle(hThread, ok);
  if (!ok) {
    SetLastError(ERROR_INVALID_HANDLE);
    return THREAD_PRIORITY_ERROR_RETURN;
  }
  return thread ? thread->Priority() : t_priority;
}
