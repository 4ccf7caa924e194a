// The notification database: registrations kept in a readable file under the terminal's root,
// shared with other processes, and run at wake-up.
#include <windows.h>

#include <gtest/gtest.h>
#include <notify.h>
#include <vela/Terminal.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ScopedTerminalRoot.h"
#include "TerminalEventsSupport.h"

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

CE_NOTIFICATION_TRIGGER EventTrigger(const char16_t* application, const char16_t* arguments = nullptr) {
  CE_NOTIFICATION_TRIGGER t{};
  t.dwSize = sizeof t;
  t.dwType = CNT_EVENT;
  t.dwEvent = NOTIFICATION_EVENT_WAKEUP;
  t.lpszApplication = const_cast<WCHAR*>(application);
  t.lpszArguments = const_cast<WCHAR*>(arguments);
  return t;
}

std::vector<HANDLE> Handles() {
  DWORD needed = 99;
  EXPECT_TRUE(CeGetUserNotificationHandles(nullptr, 0, &needed));
  std::vector<HANDLE> handles(needed);
  if (needed > 0) {
    EXPECT_TRUE(CeGetUserNotificationHandles(handles.data(), needed, &needed));
  }
  return handles;
}

std::vector<BYTE> Info(HANDLE h) {
  DWORD needed = 0;
  SetLastError(kMarker);
  EXPECT_FALSE(CeGetUserNotification(h, 0, &needed, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<BYTE> buffer(needed);
  EXPECT_TRUE(CeGetUserNotification(h, needed, &needed, buffer.data()));
  return buffer;
}

bool Inside(const std::vector<BYTE>& buffer, const void* p) {
  const auto* b = static_cast<const BYTE*>(p);
  return b >= buffer.data() && b < buffer.data() + buffer.size();
}

class UserNotificationTest : public ::testing::Test {
 protected:
  void SetUp() override { vela::terminal::Get().ResetForTests(); }
  void TearDown() override { vela::terminal::Get().ResetForTests(); }
  vela::testing::ScopedTerminalRoot root_;
};

TEST_F(UserNotificationTest, RegistrationsAreListedReadBackAndCleared) {
  EXPECT_TRUE(Handles().empty());
  CE_NOTIFICATION_TRIGGER wake = EventTrigger(u"\\\\.\\Notifications\\NamedEvents\\MenuApp");
  wake.dwSize = CE_NOTIFICATION_TRIGGER_SIZE_32;  // the size the terminal's callers give
  HANDLE first = CeSetUserNotificationEx(nullptr, &wake, nullptr);
  ASSERT_NE(first, nullptr);
  CE_NOTIFICATION_TRIGGER other = EventTrigger(u"\\Windows\\sync.exe", u"-quiet \"x\"");
  other.dwEvent = NOTIFICATION_EVENT_ON_AC_POWER;
  other.stStartTime.wYear = 2026;
  CE_USER_NOTIFICATION user{};
  user.ActionFlags = PUN_DIALOG;
  user.pwszDialogTitle = const_cast<WCHAR*>(u"タイトル");
  HANDLE second = CeSetUserNotificationEx(nullptr, &other, &user);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  // Not kernel handles: closing one fails and closes nothing else.
  EXPECT_FALSE(CloseHandle(first));
  EXPECT_EQ(Handles(), (std::vector<HANDLE>{first, second}));

  const std::vector<BYTE> info = Info(second);
  const auto* header = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(info.data());
  EXPECT_EQ(header->hNotification, second);
  ASSERT_TRUE(Inside(info, header->pcent));
  ASSERT_TRUE(Inside(info, header->pceun));
  EXPECT_EQ(header->pcent->dwType, static_cast<DWORD>(CNT_EVENT));
  EXPECT_EQ(header->pcent->dwEvent, static_cast<DWORD>(NOTIFICATION_EVENT_ON_AC_POWER));
  EXPECT_EQ(header->pcent->stStartTime.wYear, 2026);
  ASSERT_TRUE(Inside(info, header->pcent->lpszApplication));
  EXPECT_EQ(std::u16string(header->pcent->lpszApplication), u"\\Windows\\sync.exe");
  EXPECT_EQ(std::u16string(header->pcent->lpszArguments), u"-quiet \"x\"");
  EXPECT_EQ(header->pceun->ActionFlags, static_cast<DWORD>(PUN_DIALOG));
  EXPECT_EQ(std::u16string(header->pceun->pwszDialogTitle), u"タイトル");
  EXPECT_EQ(header->pceun->pwszSound, nullptr);
  const std::vector<BYTE> wakeInfo = Info(first);
  const auto* wakeHeader = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(wakeInfo.data());
  EXPECT_EQ(wakeHeader->pceun, nullptr);
  EXPECT_EQ(wakeHeader->pcent->lpszArguments, nullptr);

  // Replacing keeps the handle.
  other.dwEvent = NOTIFICATION_EVENT_OFF_AC_POWER;
  EXPECT_EQ(CeSetUserNotificationEx(second, &other, nullptr), second);
  EXPECT_EQ(reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(Info(second).data())->pcent->dwEvent,
            static_cast<DWORD>(NOTIFICATION_EVENT_OFF_AC_POWER));

  EXPECT_TRUE(CeClearUserNotification(first));
  SetLastError(kMarker);
  EXPECT_FALSE(CeClearUserNotification(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(Handles(), std::vector<HANDLE>{second});
  // A handle is never given out twice.
  HANDLE third = CeSetUserNotificationEx(nullptr, &wake, nullptr);
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
}

TEST_F(UserNotificationTest, BadRequestsAreRefused) {
  const auto refused = [](CE_NOTIFICATION_TRIGGER* t, CE_USER_NOTIFICATION* u, HANDLE h, DWORD error) {
    SetLastError(kMarker);
    EXPECT_EQ(CeSetUserNotificationEx(h, t, u), nullptr);
    EXPECT_EQ(GetLastError(), error);
  };
  CE_NOTIFICATION_TRIGGER t = EventTrigger(u"\\Windows\\a.exe");
  refused(nullptr, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t.dwSize = 60;
  refused(&t, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t.dwSize = sizeof t;
  t.dwEvent = 0;
  refused(&t, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t.dwEvent = NOTIFICATION_EVENT_LAST + 1;
  refused(&t, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t = EventTrigger(u"");
  refused(&t, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t = EventTrigger(u"\\Windows\\a.exe");
  t.dwType = 9;
  refused(&t, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t.dwType = CNT_CLASSICTIME;  // needs its user part
  refused(&t, nullptr, nullptr, ERROR_INVALID_PARAMETER);
  t = EventTrigger(u"\\Windows\\a.exe");
  refused(&t, nullptr, reinterpret_cast<HANDLE>(uintptr_t{0x41}), ERROR_INVALID_HANDLE);
  EXPECT_TRUE(Handles().empty());

  DWORD needed = 0;
  SetLastError(kMarker);
  EXPECT_FALSE(CeGetUserNotification(reinterpret_cast<HANDLE>(uintptr_t{5}), 100, &needed, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HANDLE h = CeSetUserNotificationEx(nullptr, &t, nullptr);
  CeSetUserNotificationEx(nullptr, &t, nullptr);
  HANDLE one = nullptr;
  SetLastError(kMarker);
  EXPECT_FALSE(CeGetUserNotificationHandles(&one, 1, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, 2u);
  std::vector<BYTE> small(Info(h).size() - 1);
  SetLastError(kMarker);
  EXPECT_FALSE(CeGetUserNotification(h, static_cast<DWORD>(small.size()), &needed, small.data()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, small.size() + 1);
}

TEST_F(UserNotificationTest, TheFileIsReadableAndSharedWithOtherProcesses) {
  // Texts that a line-based file must not break on.
  const std::u16string awkward = u"50% off\r\nnext=line ";
  const std::u16string lone = std::u16string(u"a") + char16_t(0xD800) + u"b";
  CE_NOTIFICATION_TRIGGER t = EventTrigger(u"\\\\.\\Notifications\\NamedEvents\\JobApp", awkward.c_str());
  HANDLE h = CeSetUserNotificationEx(nullptr, &t, nullptr);
  ASSERT_NE(h, nullptr);
  CE_NOTIFICATION_TRIGGER t2 = EventTrigger(lone.c_str());
  HANDLE h2 = CeSetUserNotificationEx(nullptr, &t2, nullptr);
  ASSERT_NE(h2, nullptr);

  const std::string file = root_.ReadBytes("Windows/Notifications.txt");
  EXPECT_NE(file.find("Application=\\\\.\\Notifications\\NamedEvents\\JobApp\n"), std::string::npos) << file;
  EXPECT_NE(file.find("Event=11\n"), std::string::npos) << file;

  // Another process on the same root sees both, texts intact, and its change is seen here.
  const int code = vela::testing::RunInChild([&] {
    const std::vector<HANDLE> seen = Handles();
    if (seen != std::vector<HANDLE>{h, h2}) return 1;
    const std::vector<BYTE> info = Info(h);
    const auto* header = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(info.data());
    if (std::u16string(header->pcent->lpszArguments) != awkward) return 2;
    const std::vector<BYTE> info2 = Info(h2);
    if (std::u16string(reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(info2.data())->pcent->lpszApplication) !=
        lone) {
      return 3;
    }
    return CeClearUserNotification(h) ? 0 : 4;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Handles(), std::vector<HANDLE>{h2});
}

TEST_F(UserNotificationTest, ADamagedFileLosesOnlyItsDamagedSections) {
  root_.MakeFolder("Windows");
  root_.WriteBytes("Windows/Notifications.txt",
                   "NextHandle=9\n"
                   "[Notification 5]\nType=1\nEvent=11\nApplication=\\\\.\\Notifications\\NamedEvents\\A\n"
                   "Start=2026-01-02 03:04:05.006 5\n"
                   "[Notification 7x]\nType=1\nEvent=11\nApplication=B\n"
                   "[Notification 13]\nType=1\nApplication=no event\n"
                   "garbage line\n"
                   "[Notification 17]\r\nType=1\r\nEvent=3\r\nApplication=C\r\n");
  EXPECT_EQ(Handles(), (std::vector<HANDLE>{reinterpret_cast<HANDLE>(uintptr_t{5}),
                                            reinterpret_cast<HANDLE>(uintptr_t{17})}));
  const std::vector<BYTE> info = Info(reinterpret_cast<HANDLE>(uintptr_t{5}));
  const auto* header = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(info.data());
  EXPECT_EQ(header->pcent->stStartTime.wSecond, 5);
  EXPECT_EQ(header->pcent->stStartTime.wDayOfWeek, 5);
  EXPECT_EQ(header->pcent->stStartTime.wMilliseconds, 6);
  // A new registration takes neither a listed number nor one before NextHandle.
  CE_NOTIFICATION_TRIGGER t = EventTrigger(u"D");
  HANDLE made = CeSetUserNotificationEx(nullptr, &t, nullptr);
  EXPECT_EQ(made, reinterpret_cast<HANDLE>(uintptr_t{9}));
  EXPECT_EQ(CeSetUserNotificationEx(nullptr, &t, nullptr), reinterpret_cast<HANDLE>(uintptr_t{13}));
  EXPECT_EQ(CeSetUserNotificationEx(nullptr, &t, nullptr), reinterpret_cast<HANDLE>(uintptr_t{21}));
}

TEST_F(UserNotificationTest, WakeUpSetsNamedEventsAndStartsPrograms) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, u"MenuApp");
  ASSERT_NE(event, nullptr);
  CE_NOTIFICATION_TRIGGER named = EventTrigger(u"\\\\.\\Notifications\\NamedEvents\\MenuApp");
  ASSERT_NE(CeSetUserNotificationEx(nullptr, &named, nullptr), nullptr);
  CE_NOTIFICATION_TRIGGER absent = EventTrigger(u"\\\\.\\Notifications\\NamedEvents\\NobodyMadeThis");
  ASSERT_NE(CeSetUserNotificationEx(nullptr, &absent, nullptr), nullptr);
  HANDLE acEvent = CreateEventW(nullptr, TRUE, FALSE, u"AcApp");
  CE_NOTIFICATION_TRIGGER otherEvent = EventTrigger(u"\\\\.\\Notifications\\NamedEvents\\AcApp");
  otherEvent.dwEvent = NOTIFICATION_EVENT_ON_AC_POWER;  // not a wake-up: left alone
  ASSERT_NE(CeSetUserNotificationEx(nullptr, &otherEvent, nullptr), nullptr);
  // A program to start: a host program, loaded at once, so it outlives the test's root.
  root_.MakeFolder("Temp");
  std::filesystem::copy_file("/bin/true", root_.Host("Temp/wake.exe"));
  CE_NOTIFICATION_TRIGGER program = EventTrigger(u"\\Temp\\wake.exe", u"-resumed");
  ASSERT_NE(CeSetUserNotificationEx(nullptr, &program, nullptr), nullptr);
  CE_NOTIFICATION_TRIGGER missing = EventTrigger(u"\\Temp\\missing.exe");
  ASSERT_NE(CeSetUserNotificationEx(nullptr, &missing, nullptr), nullptr);

  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetLastError(kMarker);
  vela::testing::SuspendAndWake();
  EXPECT_EQ(GetLastError(), kMarker);  // the wake-up's work leaves the waker's last error alone
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(WaitForSingleObject(acEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(acEvent);
  const vela::terminal::Records records = vela::terminal::Get().GetRecords();
  ASSERT_EQ(records.processStarts.size(), 1u);
  EXPECT_EQ(records.processStarts[0].imageName, u"\\Temp\\wake.exe");
  EXPECT_NE(records.processStarts[0].commandLine.find(u"-resumed"), std::u16string::npos);

  // Every wake-up, as long as the registration stands.
  ResetEvent(event);
  vela::testing::SuspendAndWake();
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(event);
}

}  // namespace
