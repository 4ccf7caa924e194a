#include "gdi/GdiObjects.h"

#include <string>
#include <unordered_set>

#include "debug/DebugChannel.h"

namespace vela::gdi {
namespace {

std::unordered_set<const void*>& Live() {
  static auto* live = new std::unordered_set<const void*>();
  return *live;
}

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
  delete object;
}

GdiObject* Lookup(const void* h, DWORD kind) {
  if (h == nullptr) return nullptr;
  GdiLock lock(GdiMutex());
  if (Live().count(h) == 0) return nullptr;
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
