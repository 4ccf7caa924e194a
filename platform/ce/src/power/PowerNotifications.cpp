// Power notifications: the terminal's battery, external power, suspend and wake-up written as
// POWER_BROADCAST messages into every registered queue whose flags ask for them.
#include <pm.h>
#include <vela/Terminal.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "notify/QueueWriter.h"
#include "power/PowerStatus.h"

namespace {

using vela::notify::QueueWriter;
using vela::terminal::Change;

struct Registration {
  std::unique_ptr<QueueWriter> writer;
  DWORD flags;
};

// Registration handles are not kernel handles: bit 1 set keeps them apart from every value
// the handle table gives out, so CloseHandle on one fails instead of closing something else.
HANDLE HandleOf(std::uintptr_t number) { return reinterpret_cast<HANDLE>((number << 2) | 2); }

class PowerNotifier {
 public:
  HANDLE Add(std::unique_ptr<QueueWriter> writer, DWORD flags) {
    std::lock_guard lock(mutex_);
    if (!last_) {
      last_ = CurrentStatus();
    }
    const HANDLE handle = HandleOf(next_++);
    registrations_.emplace(handle, Registration{std::move(writer), flags});
    return handle;
  }

  bool Remove(HANDLE handle) {
    std::lock_guard lock(mutex_);
    return registrations_.erase(handle) == 1;
  }

  void OnChange(Change change) {
    switch (change) {
      case Change::Power:
      case Change::Reset:
        PowerInfoChanged();
        break;
      case Change::Suspended:
        Broadcast(PBT_TRANSITION, Transition(POWER_STATE_SUSPEND, u"suspend"));
        break;
      case Change::Resumed:
        Broadcast(PBT_RESUME, Head(PBT_RESUME, 0, 0));
        Broadcast(PBT_TRANSITION, Transition(POWER_STATE_ON, u"on"));
        break;
      default:
        break;
    }
  }

 private:
  static SYSTEM_POWER_STATUS_EX2 CurrentStatus() { return vela::power::StatusOf(vela::terminal::Get().Get().power); }

  static std::vector<unsigned char> Head(DWORD message, DWORD flags, DWORD length) {
    std::vector<unsigned char> bytes(offsetof(POWER_BROADCAST, SystemPowerState));
    const DWORD head[3] = {message, flags, length};
    std::memcpy(bytes.data(), head, sizeof head);
    return bytes;
  }

  static std::vector<unsigned char> Transition(DWORD state, std::u16string_view name) {
    const DWORD length = static_cast<DWORD>((name.size() + 1) * sizeof(char16_t));
    std::vector<unsigned char> bytes = Head(PBT_TRANSITION, state, length);
    const std::size_t at = bytes.size();
    bytes.resize(at + length, 0);
    std::memcpy(bytes.data() + at, name.data(), name.size() * sizeof(char16_t));
    return bytes;
  }

  // Only a change the power status shows is told: the power-off switches share the area.
  void PowerInfoChanged() {
    const SYSTEM_POWER_STATUS_EX2 now = CurrentStatus();
    bool acChanged;
    {
      std::lock_guard lock(mutex_);
      if (registrations_.empty() || (last_ && std::memcmp(&*last_, &now, sizeof now) == 0)) {
        last_ = now;
        return;
      }
      acChanged = !last_ || last_->ACLineStatus != now.ACLineStatus;
      last_ = now;
    }
    const vela::power::PowerInfoMessage info = vela::power::PowerInfoMessageOf(now);
    Broadcast(PBT_POWERINFOCHANGE, std::vector<unsigned char>(std::begin(info.bytes), std::end(info.bytes)));
    if (acChanged) {
      Broadcast(PBT_POWERSTATUSCHANGE, Head(PBT_POWERSTATUSCHANGE, 0, 0));
    }
  }

  void Broadcast(DWORD kind, const std::vector<unsigned char>& message) {
    std::lock_guard lock(mutex_);
    for (auto it = registrations_.begin(); it != registrations_.end();) {
      Registration& r = it->second;
      if ((r.flags & kind) && !r.writer->Write(message.data(), static_cast<DWORD>(message.size()))) {
        it = registrations_.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::mutex mutex_;
  std::map<HANDLE, Registration> registrations_;
  std::uintptr_t next_ = 1;
  std::optional<SYSTEM_POWER_STATUS_EX2> last_;
};

PowerNotifier& Notifier() {
  // Never destroyed: the terminal's listener may still call it during the process's exit.
  static PowerNotifier* notifier = [] {
    auto* made = new PowerNotifier;
    vela::terminal::Get().Subscribe([made](Change change) { made->OnChange(change); });
    return made;
  }();
  return *notifier;
}

}  // namespace

HANDLE RequestPowerNotifications(HANDLE hMsgQ, DWORD Flags) {
  if (!hMsgQ || Flags == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::unique_ptr<QueueWriter> writer = QueueWriter::Open(hMsgQ);
  if (!writer) {
    return nullptr;
  }
  return Notifier().Add(std::move(writer), Flags);
}

BOOL StopPowerNotifications(HANDLE h) {
  if (!Notifier().Remove(h)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
