// Critical sections: recursive locks owned by one thread at a time. OwnerThread and LockCount
// are kept up to date in the structure, as debuggers and the platform's own code read them.
#include <processthreadsapi.h>
#include <synchapi.h>

#include <atomic>
#include <mutex>

#include "debug/DebugChannel.h"

namespace {

std::mutex* LockOf(LPCRITICAL_SECTION cs) { return static_cast<std::mutex*>(cs->LockObject); }

// Other threads read the owner while the holder changes it.
std::atomic_ref<DWORD> Owner(LPCRITICAL_SECTION cs) { return std::atomic_ref<DWORD>(cs->OwnerThread); }

void TakeOwnership(LPCRITICAL_SECTION cs, DWORD self) {
  Owner(cs).store(self, std::memory_order_relaxed);
  cs->LockCount = 1;
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  lpCriticalSection->LockObject = new std::mutex;
  lpCriticalSection->OwnerThread = 0;
  lpCriticalSection->LockCount = 0;
}

void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  delete LockOf(lpCriticalSection);
  lpCriticalSection->LockObject = nullptr;
  lpCriticalSection->OwnerThread = 0;
  lpCriticalSection->LockCount = 0;
}

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  const DWORD self = GetCurrentThreadId();
  if (Owner(lpCriticalSection).load(std::memory_order_relaxed) == self) {
    ++lpCriticalSection->LockCount;
    return;
  }
  LockOf(lpCriticalSection)->lock();
  TakeOwnership(lpCriticalSection, self);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  const DWORD self = GetCurrentThreadId();
  if (Owner(lpCriticalSection).load(std::memory_order_relaxed) == self) {
    ++lpCriticalSection->LockCount;
    return TRUE;
  }
  if (!LockOf(lpCriticalSection)->try_lock()) {
    return FALSE;
  }
  TakeOwnership(lpCriticalSection, self);
  return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (Owner(lpCriticalSection).load(std::memory_order_relaxed) != GetCurrentThreadId()) {
    // Unlocking another thread's lock would break its holder's exclusion: refuse loudly.
    vela::debug::WriteDebugChannel("LeaveCriticalSection: the calling thread does not own the section\n");
    return;
  }
  if (--lpCriticalSection->LockCount == 0) {
    Owner(lpCriticalSection).store(0, std::memory_order_relaxed);
    LockOf(lpCriticalSection)->unlock();
  }
}
