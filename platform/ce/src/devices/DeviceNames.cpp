#include <winerror.h>

#include <map>
#include <mutex>
#include <string>

#include "devices/DeviceObject.h"
#include "kernel/HandleTable.h"

namespace vela::devices {
namespace {

std::u16string Upper(std::u16string_view name) {
  std::u16string upper(name);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - u'a' + u'A');
    }
  }
  return upper;
}

struct Registry {
  std::mutex mutex;
  std::map<std::u16string, DeviceOpener> openers;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

bool IsLetter(WCHAR c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

void RegisterDevice(std::u16string_view name, DeviceOpener opener) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.openers[Upper(name)] = std::move(opener);
}

bool IsDeviceName(const WCHAR* fileName) {
  return fileName && IsLetter(fileName[0]) && IsLetter(fileName[1]) && IsLetter(fileName[2]) &&
         fileName[3] >= u'0' && fileName[3] <= u'9' && fileName[4] == u':' && fileName[5] == 0;
}

HANDLE OpenDevice(const WCHAR* fileName) {
  DeviceOpener opener;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.openers.find(Upper(fileName));
    if (it != r.openers.end()) {
      opener = it->second;
    }
  }
  if (!opener) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::shared_ptr<DeviceObject> device = opener();
  if (!device) {
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = kernel::InsertHandle(std::move(device));
  if (!handle) {
    SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return INVALID_HANDLE_VALUE;
  }
  SetLastError(ERROR_SUCCESS);
  return handle;
}

}  // namespace vela::devices
