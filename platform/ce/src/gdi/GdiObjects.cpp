#include "gdi/GdiObjects.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>

#include "debug/DebugChannel.h"

namespace vela::gdi {
namespace {

std::unordered_set<const void*>& Live() {
  static auto* live = new std::unordered_set<const void*>();
  return *live;
}

// The handles used last, so that drawing in a loop does not hash the same handles each time.
// An entry is only ever set for a live object and cleared when that object goes.
struct CacheEntry {
  const void* handle = nullptr;
};
std::array<CacheEntry, 64> cache;

CacheEntry& Slot(const void* h) { return cache[(reinterpret_cast<std::uintptr_t>(h) >> 4) & 63]; }

}  // namespace

std::recursive_mutex& GdiMutex() {
  static auto* mutex = new std::recursive_mutex();
  return *mutex;
}

void Register(GdiObject* object) {
  GdiLock lock(GdiMutex());
  Live().insert(object);
}

void Destroy(GdiObject* object) {
  GdiLock lock(GdiMutex());
  Live().erase(object);
  if (Slot(object).handle == object) Slot(object).handle = nullptr;
  delete object;
}

GdiObject* Lookup(const void* h, DWORD kind) {
  if (h == nullptr) return nullptr;
  CacheEntry& slot = Slot(h);
  if (slot.handle != h) {
    if (Live().count(h) == 0) return nullptr;
    slot.handle = h;
  }
  auto* object = static_cast<GdiObject*>(const_cast<void*>(h));
  if (kind != 0 && object->type != kind) return nullptr;
  return object;
}

void Hold(GdiObject* object) {
  if (object) ++object->selections;
}

void Release(GdiObject* object) {
  if (object) --object->selections;
}

void ReportUnsupported(const char* what) {
  vela::debug::WriteDebugChannel(std::string("gdi: ") + what + " is not supported\n");
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
}

}  // namespace vela::gdi
