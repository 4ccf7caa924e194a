// The NDIS user-mode I/O driver "UIO1:" over the simulated terminal's adapters. Present while
// the terminal says so; a handle opened before the driver went away stays dead, also when
// the driver comes back, as handles of an unloaded driver do on the terminal.
#include <winioctl.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <cstring>
#include <optional>

#include "devices/DeviceObject.h"
#include "devices/NdisNotifications.h"

#ifndef ERROR_DEV_NOT_EXIST
#define ERROR_DEV_NOT_EXIST 55L
#endif

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

class NdisUserModeDriver : public vela::devices::DeviceObject {
 public:
  explicit NdisUserModeDriver(std::uint64_t generation) : generation_(generation) {}

  BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD& returned) override {
    vela::terminal::Terminal& terminal = vela::terminal::Get();
    if (!terminal.Get().network.ndisDriverPresent || terminal.NdisDriverGeneration() != generation_) {
      return Fail(ERROR_DEV_NOT_EXIST);
    }
    switch (code) {
      case IOCTL_NDISUIO_QUERY_OID_VALUE:
        return QueryOid(in, inSize, out, outSize, returned);
      case IOCTL_NDISUIO_REQUEST_NOTIFICATION:
        return RequestNotification(in, inSize);
      default:
        return Fail(ERROR_NOT_SUPPORTED);
    }
  }

 private:
  static BOOL QueryOid(const void* in, DWORD inSize, void* out, DWORD outSize, DWORD& returned) {
    if (!in || !out || inSize < sizeof(NDISUIO_QUERY_OID) || outSize < sizeof(NDISUIO_QUERY_OID)) {
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    NDISUIO_QUERY_OID request;
    std::memcpy(&request, in, sizeof request);  // in and out may be the same buffer
    if (!request.ptcDeviceName) {
      return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::u16string name(request.ptcDeviceName);
    std::optional<vela::terminal::Adapter> adapter;
    for (const vela::terminal::Adapter& a : vela::terminal::Get().Get().network.adapters) {
      if (vela::Utf8ToUtf16(a.name) == name) {
        adapter = a;
        break;
      }
    }
    if (!adapter) {
      return Fail(ERROR_INVALID_PARAMETER);
    }
    if (request.Oid != OID_802_11_RSSI || !adapter->signalDbm) {
      return Fail(ERROR_NOT_SUPPORTED);  // only radios answer the signal strength
    }
    const std::int32_t dbm = *adapter->signalDbm;
    std::memcpy(request.Data, &dbm, sizeof dbm);
    std::memcpy(out, &request, sizeof request);
    returned = sizeof request;
    return TRUE;
  }

  // The request stays with the queue: the kit closes the device handle right after it.
  static BOOL RequestNotification(const void* in, DWORD inSize) {
    if (!in) {
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (inSize >= sizeof(NDISUIO_REQUEST_NOTIFICATION)) {
      NDISUIO_REQUEST_NOTIFICATION request;
      std::memcpy(&request, in, sizeof request);
      return vela::devices::RequestNdisNotifications(request.hMsgQueue, request.dwNotificationTypes);
    }
    if (inSize == 2 * sizeof(DWORD)) {
      // The terminal's own layout: the queue handle and the mask as two 32-bit words.
      DWORD words[2];
      std::memcpy(words, in, sizeof words);
      return vela::devices::RequestNdisNotifications(reinterpret_cast<HANDLE>(std::uintptr_t{words[0]}), words[1]);
    }
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }

  const std::uint64_t generation_;
};

const vela::devices::DeviceRegistration g_registration(NDISUIO_DEVICE_NAME, [] {
  vela::terminal::Terminal& terminal = vela::terminal::Get();
  const std::uint64_t generation = terminal.NdisDriverGeneration();
  if (!terminal.Get().network.ndisDriverPresent) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::shared_ptr<vela::devices::DeviceObject>();
  }
  return std::shared_ptr<vela::devices::DeviceObject>(std::make_shared<NdisUserModeDriver>(generation));
});

}  // namespace
