// The per-window record of the last icon drawn. It has its own lock: a script reads it from the
// player's thread while the UI thread paints.
#include "gdi/IconRecords.h"

#include <mutex>
#include <unordered_map>

#include <vela/Inspect.h>

#include "gdi/GdiObjects.h"

namespace vela::gdi {
namespace {

struct Records {
  std::mutex mutex;
  std::unordered_map<HWND, int> lastIcon;
};

Records& TheRecords() {
  static auto* records = new Records;  // windows may go while static objects are destroyed
  return *records;
}

}  // namespace

void SetIconResourceId(HICON icon, int resourceId) {
  GdiLock lock(GdiMutex());
  if (auto* object = LookupAs<IconObject>(icon, kObjIcon)) object->resourceId = resourceId;
}

void RecordIconDrawn(HWND window, int resourceId) {
  Records& records = TheRecords();
  std::lock_guard<std::mutex> guard(records.mutex);
  records.lastIcon[window] = resourceId;
}

void ForgetIconsDrawnIn(HWND window) {
  Records& records = TheRecords();
  std::lock_guard<std::mutex> guard(records.mutex);
  records.lastIcon.erase(window);
}

}  // namespace vela::gdi

namespace vela::inspect {

int LastIconDrawn(HWND window) {
  auto& records = vela::gdi::TheRecords();
  std::lock_guard<std::mutex> guard(records.mutex);
  const auto it = records.lastIcon.find(window);
  return it == records.lastIcon.end() ? 0 : it->second;
}

}  // namespace vela::inspect
