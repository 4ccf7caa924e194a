#include "dialogs/DialogRecord.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace vela::dialogs {
namespace {

std::mutex& RecordLock() {
  static std::mutex lock;
  return lock;
}

std::map<HWND, std::unique_ptr<DialogRecord>>& Records() {
  static std::map<HWND, std::unique_ptr<DialogRecord>> records;
  return records;
}

}  // namespace

DialogRecord* FindDialog(HWND hwnd) {
  std::lock_guard guard(RecordLock());
  auto it = Records().find(hwnd);
  return it == Records().end() ? nullptr : it->second.get();
}

DialogRecord* CreateDialogRecord(HWND hwnd) {
  std::lock_guard guard(RecordLock());
  auto& slot = Records()[hwnd];
  if (!slot) slot = std::make_unique<DialogRecord>();
  return slot.get();
}

void DestroyDialogRecord(HWND hwnd) {
  std::unique_ptr<DialogRecord> dropped;
  std::lock_guard guard(RecordLock());
  auto it = Records().find(hwnd);
  if (it == Records().end()) return;
  dropped = std::move(it->second);
  Records().erase(it);
}

std::vector<HWND> KeyboardOrder(HWND dialog) {
  std::vector<HWND> zOrder;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) zOrder.push_back(child);
  std::vector<HWND> order;
  if (DialogRecord* record = FindDialog(dialog)) {
    for (HWND control : record->templateOrder)
      if (std::find(zOrder.begin(), zOrder.end(), control) != zOrder.end()) order.push_back(control);
  }
  for (HWND child : zOrder)
    if (std::find(order.begin(), order.end(), child) == order.end()) order.push_back(child);
  return order;
}

}  // namespace vela::dialogs
