// Turns changes of the terminal's adapters into NDISUIO_DEVICE_NOTIFICATION messages.
#include "devices/NdisNotifications.h"

#include <winioctl.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "notify/QueueWriter.h"

namespace vela::devices {
namespace {

using notify::QueueWriter;
using terminal::Adapter;
using terminal::Change;

struct Notification {
  DWORD type;
  DWORD status;
  std::string adapter;
};

bool HasAddress(const Adapter& a) { return a.ipAddress != "0.0.0.0"; }

const Adapter* Named(const std::vector<Adapter>& adapters, const std::string& name) {
  const auto it = std::find_if(adapters.begin(), adapters.end(), [&](const Adapter& a) { return a.name == name; });
  return it == adapters.end() ? nullptr : &*it;
}

// What the driver reports for the step from one adapter list to the next, adapter by adapter.
std::vector<Notification> Differences(const std::vector<Adapter>& before, const std::vector<Adapter>& after) {
  std::vector<Notification> out;
  for (const Adapter& old : before) {
    if (!Named(after, old.name)) {
      if (HasAddress(old)) {
        out.push_back({NDISUIO_NOTIFICATION_MEDIA_DISCONNECT, NDIS_STATUS_MEDIA_DISCONNECT, old.name});
      }
      out.push_back({NDISUIO_NOTIFICATION_ADAPTER_REMOVAL, NDIS_STATUS_SUCCESS, old.name});
    }
  }
  for (const Adapter& now : after) {
    const Adapter* old = Named(before, now.name);
    if (!old) {
      out.push_back({NDISUIO_NOTIFICATION_ADAPTER_ARRIVAL, NDIS_STATUS_SUCCESS, now.name});
      if (HasAddress(now)) {
        out.push_back({NDISUIO_NOTIFICATION_MEDIA_CONNECT, NDIS_STATUS_MEDIA_CONNECT, now.name});
      }
      continue;
    }
    if (HasAddress(*old) && !HasAddress(now)) {
      out.push_back({NDISUIO_NOTIFICATION_MEDIA_DISCONNECT, NDIS_STATUS_MEDIA_DISCONNECT, now.name});
    } else if (HasAddress(now) && old->ipAddress != now.ipAddress) {
      // Connected, or connected again with a new address.
      out.push_back({NDISUIO_NOTIFICATION_MEDIA_CONNECT, NDIS_STATUS_MEDIA_CONNECT, now.name});
    }
    if (old->signalDbm.has_value() != now.signalDbm.has_value()) {
      out.push_back({NDISUIO_NOTIFICATION_MEDIA_SPECIFIC_NOTIFICATION, NDIS_STATUS_MEDIA_SPECIFIC_INDICATION, now.name});
    }
  }
  return out;
}

NDISUIO_DEVICE_NOTIFICATION MessageOf(const Notification& n) {
  NDISUIO_DEVICE_NOTIFICATION message{};
  message.dwNotificationType = n.type;
  message.dwStatus = n.status;
  const std::u16string name = Utf8ToUtf16(n.adapter);
  const std::size_t length = std::min(name.size(), std::size(message.ptcDeviceName) - 1);
  std::copy_n(name.begin(), length, message.ptcDeviceName);
  return message;
}

struct Registration {
  std::unique_ptr<QueueWriter> writer;
  DWORD mask;
};

class NdisNotifier {
 public:
  BOOL Request(HANDLE queue, DWORD mask) {
    std::unique_ptr<QueueWriter> writer = QueueWriter::Open(queue);
    if (!writer) {
      return FALSE;
    }
    std::lock_guard lock(mutex_);
    if (mask == 0) {
      registrations_.erase(writer->Identity());
      return TRUE;
    }
    if (registrations_.empty()) {
      adapters_ = terminal::Get().Get().network.adapters;
    }
    // A request for a queue that has one replaces it.
    const void* identity = writer->Identity();
    registrations_[identity] = Registration{std::move(writer), mask};
    return TRUE;
  }

  void OnChange(Change change) {
    if (change != Change::Network && change != Change::Reset) {
      return;
    }
    const terminal::Network network = terminal::Get().Get().network;
    std::lock_guard lock(mutex_);
    if (!network.ndisDriverPresent || change == Change::Reset) {
      registrations_.clear();  // the driver went away (or the terminal was reset), its requests with it
      return;
    }
    const std::vector<Notification> notifications = Differences(adapters_, network.adapters);
    adapters_ = network.adapters;
    for (const Notification& n : notifications) {
      const NDISUIO_DEVICE_NOTIFICATION message = MessageOf(n);
      for (auto it = registrations_.begin(); it != registrations_.end();) {
        if ((it->second.mask & n.type) && !it->second.writer->Write(&message, sizeof message)) {
          it = registrations_.erase(it);
        } else {
          ++it;
        }
      }
    }
  }

 private:
  std::mutex mutex_;
  std::map<const void*, Registration> registrations_;  // by queue
  std::vector<Adapter> adapters_;  // as last told
};

NdisNotifier& Notifier() {
  // Never destroyed: the terminal's listener may still call it during the process's exit.
  static NdisNotifier* notifier = [] {
    auto* made = new NdisNotifier;
    terminal::Get().Subscribe([made](Change change) { made->OnChange(change); });
    return made;
  }();
  return *notifier;
}

}  // namespace

BOOL RequestNdisNotifications(HANDLE callerQueue, DWORD mask) { return Notifier().Request(callerQueue, mask); }

}  // namespace vela::devices
