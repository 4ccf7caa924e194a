// An event: manual reset (stays signalled until ResetEvent, releases every waiter) or auto
// reset (the signal goes to exactly one waiter, which clears it).
#pragma once

#include "kernel/Waitable.h"

namespace vela::kernel {

class EventObject : public Waitable {
 public:
  static constexpr ObjectKind kKind = ObjectKind::Event;
  ObjectKind Kind() const override { return kKind; }

  EventObject(bool manualReset, bool initialState) : manualReset_(manualReset) { signalled_ = initialState; }

  void ConsumeLocked() override {
    if (!manualReset_) {
      signalled_ = false;
    }
  }

  void Set() { Signal(); }
  void Clear() { Reset(); }
  // Releases the waiters present now, then leaves the event not signalled.
  void Pulse() {
    std::lock_guard lock(WaitLock());
    signalled_ = true;
    ReleaseWaitersLocked();
    signalled_ = false;
  }

 private:
  const bool manualReset_;
};

}  // namespace vela::kernel
