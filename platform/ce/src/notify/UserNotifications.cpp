// CeSetUserNotificationEx and friends over the notification database file.
#include <notify.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "debug/DebugChannel.h"
#include "notify/NotificationStore.h"

namespace {

using vela::notify::NotificationTable;
using vela::notify::StoredNotification;
using vela::notify::StoredUserPart;

std::uint32_t NumberOf(HANDLE handle) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  return value > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(value);
}

HANDLE HandleOf(std::uint32_t number) { return reinterpret_cast<HANDLE>(std::uintptr_t{number}); }

std::optional<std::u16string> Text(const WCHAR* text) {
  return text ? std::optional<std::u16string>(text) : std::nullopt;
}

bool ValidTrigger(const CE_NOTIFICATION_TRIGGER* t, const CE_USER_NOTIFICATION* user) {
  if (!t || (t->dwSize != sizeof(CE_NOTIFICATION_TRIGGER) && t->dwSize != CE_NOTIFICATION_TRIGGER_SIZE_32)) {
    return false;
  }
  if (!t->lpszApplication || !*t->lpszApplication) {
    return false;
  }
  switch (t->dwType) {
    case CNT_EVENT:
      return t->dwEvent > NOTIFICATION_EVENT_NONE && t->dwEvent <= NOTIFICATION_EVENT_LAST;
    case CNT_CLASSICTIME:
      return user != nullptr;  // a classic notification is the user part at a time
    case CNT_TIME:
    case CNT_PERIOD:
      return true;
    default:
      return false;
  }
}

StoredNotification Store(const CE_NOTIFICATION_TRIGGER& t, const CE_USER_NOTIFICATION* user) {
  StoredNotification n;
  n.type = t.dwType;
  n.event = t.dwType == CNT_EVENT ? t.dwEvent : 0;
  n.application = t.lpszApplication;
  n.arguments = Text(t.lpszArguments);
  n.start = t.stStartTime;
  n.end = t.stEndTime;
  if (user) {
    StoredUserPart part;
    part.actionFlags = user->ActionFlags;
    part.dialogTitle = Text(user->pwszDialogTitle);
    part.dialogText = Text(user->pwszDialogText);
    part.sound = Text(user->pwszSound);
    part.maxSound = user->nMaxSound;
    n.user = std::move(part);
  }
  return n;
}

StoredNotification* Find(NotificationTable& table, std::uint32_t handle) {
  const auto it = std::find_if(table.entries.begin(), table.entries.end(),
                               [&](const StoredNotification& n) { return n.handle == handle; });
  return it == table.entries.end() ? nullptr : &*it;
}

// The information block: header, trigger, user part, then the strings; pointers lead into it.
class InfoLayout {
 public:
  explicit InfoLayout(const StoredNotification& n) : n_(n) {
    size_ = sizeof(CE_NOTIFICATION_INFO_HEADER) + sizeof(CE_NOTIFICATION_TRIGGER);
    if (n.user) {
      size_ += sizeof(CE_USER_NOTIFICATION);
    }
    for (const std::optional<std::u16string>* text : Texts()) {
      if (*text) {
        size_ += ((*text)->size() + 1) * sizeof(WCHAR);
      }
    }
  }

  DWORD Size() const { return static_cast<DWORD>(size_); }

  void Write(BYTE* buffer) const {
    std::memset(buffer, 0, size_);
    auto* header = reinterpret_cast<CE_NOTIFICATION_INFO_HEADER*>(buffer);
    auto* trigger = reinterpret_cast<CE_NOTIFICATION_TRIGGER*>(buffer + sizeof *header);
    BYTE* next = buffer + sizeof *header + sizeof *trigger;
    CE_USER_NOTIFICATION* user = nullptr;
    if (n_.user) {
      user = reinterpret_cast<CE_USER_NOTIFICATION*>(next);
      next += sizeof *user;
    }
    const auto place = [&next](const std::optional<std::u16string>& text) -> WCHAR* {
      if (!text) {
        return nullptr;
      }
      auto* at = reinterpret_cast<WCHAR*>(next);
      std::memcpy(at, text->c_str(), (text->size() + 1) * sizeof(WCHAR));
      next += (text->size() + 1) * sizeof(WCHAR);
      return at;
    };
    header->hNotification = HandleOf(n_.handle);
    header->dwStatus = 0;  // nothing here is ever left signalled
    header->pcent = trigger;
    header->pceun = user;
    trigger->dwSize = sizeof *trigger;
    trigger->dwType = n_.type;
    trigger->dwEvent = n_.event;
    trigger->lpszApplication = place(application_);
    trigger->lpszArguments = place(n_.arguments);
    trigger->stStartTime = n_.start;
    trigger->stEndTime = n_.end;
    if (user) {
      user->ActionFlags = n_.user->actionFlags;
      user->pwszDialogTitle = place(n_.user->dialogTitle);
      user->pwszDialogText = place(n_.user->dialogText);
      user->pwszSound = place(n_.user->sound);
      user->nMaxSound = n_.user->maxSound;
    }
  }

 private:
  std::vector<const std::optional<std::u16string>*> Texts() const {
    std::vector<const std::optional<std::u16string>*> texts{&application_, &n_.arguments};
    if (n_.user) {
      texts.insert(texts.end(), {&n_.user->dialogTitle, &n_.user->dialogText, &n_.user->sound});
    }
    return texts;
  }

  const StoredNotification& n_;
  const std::optional<std::u16string> application_{n_.application};
  std::size_t size_ = 0;
};

}  // namespace

HANDLE CeSetUserNotificationEx(HANDLE hNotification, CE_NOTIFICATION_TRIGGER* pcnt, CE_USER_NOTIFICATION* pceun) {
  if (!ValidTrigger(pcnt, pceun)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (pcnt->dwType != CNT_EVENT || pceun) {
    vela::debug::WriteDebugChannel(
        "CeSetUserNotificationEx: kept, but only event triggers run here; times and dialogs do not\n");
  }
  StoredNotification entry = Store(*pcnt, pceun);
  const std::uint32_t replace = NumberOf(hNotification);
  DWORD error = ERROR_SUCCESS;
  std::uint32_t handle = 0;
  const bool stored = vela::notify::WithNotifications([&](NotificationTable& table) {
    if (hNotification) {
      StoredNotification* existing = Find(table, replace);
      if (!existing) {
        error = ERROR_INVALID_HANDLE;
        return false;
      }
      entry.handle = replace;
      *existing = std::move(entry);
      handle = replace;
      return true;
    }
    if (table.nextHandle < vela::notify::kFirstNotificationHandle) {
      table.nextHandle = vela::notify::kFirstNotificationHandle;
    }
    // Never a number in use, also after a person edited the file.
    while (Find(table, table.nextHandle) || table.nextHandle % vela::notify::kNotificationHandleStep != 1) {
      table.nextHandle += table.nextHandle % vela::notify::kNotificationHandleStep == 1
                              ? vela::notify::kNotificationHandleStep
                              : 1;
    }
    handle = table.nextHandle;
    table.nextHandle += vela::notify::kNotificationHandleStep;
    entry.handle = handle;
    table.entries.push_back(std::move(entry));
    return true;
  });
  if (error != ERROR_SUCCESS || !stored) {
    SetLastError(error != ERROR_SUCCESS ? error : ERROR_CANTWRITE);
    return nullptr;
  }
  return HandleOf(handle);
}

BOOL CeGetUserNotificationHandles(HANDLE* rghNotifications, DWORD cHandles, LPDWORD pcHandlesNeeded) {
  if (!pcHandlesNeeded || (cHandles > 0 && !rghNotifications)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<std::uint32_t> handles;
  if (!vela::notify::WithNotifications([&](NotificationTable& table) {
        for (const StoredNotification& n : table.entries) {
          handles.push_back(n.handle);
        }
        return false;
      })) {
    SetLastError(ERROR_CANTREAD);
    return FALSE;
  }
  *pcHandlesNeeded = static_cast<DWORD>(handles.size());
  if (cHandles == 0) {
    return TRUE;  // a count query
  }
  if (cHandles < handles.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  for (std::size_t i = 0; i < handles.size(); ++i) {
    rghNotifications[i] = HandleOf(handles[i]);
  }
  return TRUE;
}

BOOL CeGetUserNotification(HANDLE hNotification, DWORD cBufferSize, LPDWORD pcBytesNeeded, LPBYTE pBuffer) {
  if (!pcBytesNeeded) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<StoredNotification> found;
  if (!vela::notify::WithNotifications([&](NotificationTable& table) {
        if (StoredNotification* n = Find(table, NumberOf(hNotification))) {
          found = *n;
        }
        return false;
      })) {
    SetLastError(ERROR_CANTREAD);
    return FALSE;
  }
  if (!found) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const InfoLayout layout(*found);
  *pcBytesNeeded = layout.Size();
  if (!pBuffer || cBufferSize < layout.Size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  layout.Write(pBuffer);
  return TRUE;
}

BOOL CeClearUserNotification(HANDLE hNotification) {
  bool removed = false;
  const bool ok = vela::notify::WithNotifications([&](NotificationTable& table) {
    const auto it = std::find_if(table.entries.begin(), table.entries.end(),
                                 [&](const StoredNotification& n) { return n.handle == NumberOf(hNotification); });
    if (it == table.entries.end()) {
      return false;
    }
    table.entries.erase(it);
    removed = true;
    return true;
  });
  if (!removed || !ok) {
    SetLastError(removed ? ERROR_CANTWRITE : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
