// Stream devices opened by name through CreateFile ("UIO1:"): three letters, a digit and a
// colon. A driver registers the names it answers; DeviceIoControl reaches its object.
#pragma once

#include <wintypes.h>

#include <functional>
#include <memory>
#include <string_view>

#include "kernel/KernelObject.h"

namespace vela::devices {

class DeviceObject : public kernel::KernelObject {
 public:
  static constexpr kernel::ObjectKind kKind = kernel::ObjectKind::Device;
  kernel::ObjectKind Kind() const override { return kKind; }
  // DeviceIoControl without the handle look-up: TRUE, or FALSE with the last error set.
  virtual BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                         DWORD& returned) = 0;
};

// The driver's object for a new handle, or null with the last error set.
using DeviceOpener = std::function<std::shared_ptr<DeviceObject>()>;

// name as CreateFile receives it ("UIO1:"), matched without regard to case.
void RegisterDevice(std::u16string_view name, DeviceOpener opener);

struct DeviceRegistration {
  DeviceRegistration(std::u16string_view name, DeviceOpener opener) { RegisterDevice(name, std::move(opener)); }
};

// True when fileName has the form of a device name; CreateFile then leaves it to OpenDevice.
bool IsDeviceName(const WCHAR* fileName);
// A handle to the device, or INVALID_HANDLE_VALUE with the last error (ERROR_FILE_NOT_FOUND
// for a name no driver answers).
HANDLE OpenDevice(const WCHAR* fileName);

}  // namespace vela::devices
