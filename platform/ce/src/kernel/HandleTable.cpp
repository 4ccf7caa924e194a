#include "kernel/HandleTable.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace vela::kernel {
namespace {

// Handle value: generation in bits 18-31, slot number + 1 in bits 2-17; the low two bits are
// clear as on the platform. Values never reach the pseudo-handles of GetCurrentProcess and
// GetCurrentThread, and stay within 32 bits for code that keeps handles in a DWORD.
constexpr uint32_t kMaxSlots = 0xFFFF - 1;
constexpr uint32_t kGenerationMask = 0x3FFF;
// A freed slot is taken again only once this many wait, so a closed value stays dead for
// about kReuseDelay * kGenerationMask closes.
constexpr size_t kReuseDelay = 256;

struct Slot {
  std::shared_ptr<KernelObject> object;
  uint32_t generation = 1;
};

class Table {
 public:
  HANDLE Insert(std::shared_ptr<KernelObject> object) {
    std::lock_guard lock(mutex_);
    uint32_t index;
    if (free_.size() >= kReuseDelay || (slots_.size() >= kMaxSlots && !free_.empty())) {
      index = free_.front();
      free_.pop_front();
    } else if (slots_.size() < kMaxSlots) {
      index = static_cast<uint32_t>(slots_.size());
      slots_.emplace_back();
    } else {
      return nullptr;
    }
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    return Encode(index, slot.generation);
  }

  std::shared_ptr<KernelObject> Lookup(HANDLE handle) {
    std::lock_guard lock(mutex_);
    Slot* slot = Find(handle);
    return slot ? slot->object : nullptr;
  }

  bool Names(HANDLE handle, const KernelObject* object) {
    std::lock_guard lock(mutex_);
    Slot* slot = Find(handle);
    return slot && slot->object.get() == object;
  }

  std::shared_ptr<KernelObject> Remove(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    std::lock_guard lock(mutex_);
    Slot* slot = Find(handle);
    if (!slot) {
      return nullptr;
    }
    object = std::move(slot->object);
    slot->object.reset();
    slot->generation = slot->generation == kGenerationMask ? 1 : slot->generation + 1;
    free_.push_back(static_cast<uint32_t>(slot - slots_.data()));
    return object;
  }

 private:
  static HANDLE Encode(uint32_t index, uint32_t generation) {
    const uintptr_t value = (uintptr_t{generation} << 18) | (uintptr_t{index + 1} << 2);
    return reinterpret_cast<HANDLE>(value);
  }

  Slot* Find(HANDLE handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 3) != 0 || value > 0xFFFFFFFFu) {
      return nullptr;
    }
    const uint32_t number = static_cast<uint32_t>((value >> 2) & 0xFFFF);
    const uint32_t generation = static_cast<uint32_t>(value >> 18);
    if (number == 0 || number > slots_.size()) {
      return nullptr;
    }
    Slot& slot = slots_[number - 1];
    if (slot.generation != generation || !slot.object) {
      return nullptr;
    }
    return &slot;
  }

  std::mutex mutex_;
  std::vector<Slot> slots_;
  std::deque<uint32_t> free_;
};

// Never destroyed: handles may still be closed by other libraries' static destructors.
Table& TheTable() {
  static Table* table = new Table;
  return *table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object) {
  return TheTable().Insert(std::move(object));
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) { return TheTable().Lookup(handle); }

std::shared_ptr<KernelObject> RemoveHandle(HANDLE handle) { return TheTable().Remove(handle); }

bool HandleNames(HANDLE handle, const KernelObject* object) { return TheTable().Names(handle, object); }

}  // namespace vela::kernel
