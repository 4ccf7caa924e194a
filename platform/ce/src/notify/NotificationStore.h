// The notification database file, \Windows\Notifications.txt under the terminal's root: a
// text file a person can read, one section per registration. Every operation takes an
// exclusive lock on \Windows\Notifications.lock, reads the file as it is on disk and, when it
// changes something, writes it through at once (new file, fsync, rename), so registrations
// survive a crashed process and all processes on the same root share them.
#pragma once

#include <minwinbase.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::notify {

struct StoredUserPart {
  DWORD actionFlags = 0;
  std::optional<std::u16string> dialogTitle, dialogText, sound;
  DWORD maxSound = 0;
};

struct StoredNotification {
  std::uint32_t handle = 0;  // the handle value the callers see
  DWORD type = 0;
  DWORD event = 0;
  std::u16string application;
  std::optional<std::u16string> arguments;
  SYSTEMTIME start{};
  SYSTEMTIME end{};
  std::optional<StoredUserPart> user;
};

struct NotificationTable {
  std::uint32_t nextHandle = 0;  // 0: not yet given out
  std::vector<StoredNotification> entries;
};

// The text form and back. Unreadable lines and sections are skipped, never fatal.
std::string FormatNotifications(const NotificationTable& table);
NotificationTable ParseNotifications(std::string_view text);

// Runs work on the table under the lock; when work returns true the table is written back.
// False when the file could not be read or written (reported on the debug channel).
bool WithNotifications(const std::function<bool(NotificationTable&)>& work);

// The first handle value given out, and the step between values. Bit 0 set keeps them apart
// from the kernel's handles, so CloseHandle on one fails instead of closing another object.
constexpr std::uint32_t kFirstNotificationHandle = 5;
constexpr std::uint32_t kNotificationHandleStep = 4;

}  // namespace vela::notify
