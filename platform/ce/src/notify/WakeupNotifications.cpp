#include "notify/WakeupNotifications.h"

#include <notify.h>
#include <windows.h>
#include <wincrt.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <string>
#include <vector>

#include "debug/DebugChannel.h"
#include "notify/NotificationStore.h"

namespace vela::notify {
namespace {

void SetNamedEvent(const std::u16string& name) {
  HANDLE event = OpenEventW(EVENT_ALL_ACCESS, FALSE, name.c_str());
  if (event) {
    SetEvent(event);
    CloseHandle(event);
  }
}

void StartProgram(const StoredNotification& n) {
  // The command line is the arguments alone, as the program receives them.
  std::u16string arguments = n.arguments.value_or(u"");
  PROCESS_INFORMATION info{};
  if (CreateProcessW(n.application.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                     &info)) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  } else {
    debug::WriteDebugChannel("notify: wake-up cannot start " + Utf16ToUtf8(n.application) + " (error " +
                             std::to_string(GetLastError()) + ")\n");
  }
}

void RunWakeupRegistrations() {
  std::vector<StoredNotification> due;
  WithNotifications([&](NotificationTable& table) {
    for (const StoredNotification& n : table.entries) {
      if (n.type == CNT_EVENT && n.event == NOTIFICATION_EVENT_WAKEUP) {
        due.push_back(n);
      }
    }
    return false;
  });
  const std::u16string_view prefix = NAMED_EVENT_PREFIX_TEXT;
  const DWORD error = GetLastError();
  for (const StoredNotification& n : due) {
    if (n.application.size() >= prefix.size() &&
        _wcsnicmp(n.application.c_str(), prefix.data(), prefix.size()) == 0) {
      SetNamedEvent(n.application.substr(prefix.size()));
    } else {
      StartProgram(n);
    }
  }
  SetLastError(error);
}

}  // namespace

void WatchWakeups() {
  // Once per process; the listener lives as long as the terminal.
  static const bool subscribed = [] {
    terminal::Get().Subscribe([](terminal::Change change) {
      if (change == terminal::Change::Resumed) {
        RunWakeupRegistrations();
      }
    });
    return true;
  }();
  (void)subscribed;
}

}  // namespace vela::notify
