// The NDIS driver's notifications: the request stays with the queue after the device handle
// is closed, and adapter changes arrive as 532-byte notifications matching the mask.
#include <windows.h>

#include <gtest/gtest.h>
#include <msgqueue.h>
#include <vela/Terminal.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "TerminalEventsSupport.h"

namespace {

constexpr DWORD kMessage = sizeof(NDISUIO_DEVICE_NOTIFICATION);

// What the kit does: open the driver, ask, close the driver at once.
BOOL Request(HANDLE queue, DWORD mask) {
  HANDLE device = CreateFileW(NDISUIO_DEVICE_NAME, 0, 0, nullptr, OPEN_EXISTING, 0x40000080, INVALID_HANDLE_VALUE);
  if (device == INVALID_HANDLE_VALUE) {
    return FALSE;
  }
  NDISUIO_REQUEST_NOTIFICATION request{queue, mask};
  const BOOL ok = DeviceIoControl(device, IOCTL_NDISUIO_REQUEST_NOTIFICATION, &request, sizeof request, nullptr, 0,
                                  nullptr, nullptr);
  CloseHandle(device);
  return ok;
}

struct Seen {
  DWORD type;
  DWORD status;
  std::u16string adapter;
  bool operator==(const Seen&) const = default;
};

std::vector<Seen> Read(HANDLE queue) {
  std::vector<Seen> seen;
  for (const auto& bytes : vela::testing::Drain(queue, kMessage)) {
    EXPECT_EQ(bytes.size(), kMessage);
    NDISUIO_DEVICE_NOTIFICATION n;
    std::memcpy(&n, bytes.data(), sizeof n);
    seen.push_back({n.dwNotificationType, n.dwStatus, n.ptcDeviceName});
  }
  return seen;
}

void SetNetwork(const std::function<void(vela::terminal::Network&)>& edit) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { edit(s.network); });
}

class NdisNotificationTest : public ::testing::Test {
 protected:
  void SetUp() override { vela::terminal::Get().ResetForTests(); }
  void TearDown() override {
    for (HANDLE q : queues_) {
      CloseMsgQueue(q);
    }
    vela::terminal::Get().ResetForTests();
  }
  HANDLE Queue() {
    HANDLE q = vela::testing::MakeReadQueue(kMessage);
    queues_.push_back(q);
    return q;
  }
  std::vector<HANDLE> queues_;
};

TEST_F(NdisNotificationTest, ConnectionChangesOutliveTheDeviceHandle) {
  HANDLE q = Queue();
  ASSERT_TRUE(Request(q, 0x0000FFFF));
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "0.0.0.0"; });
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "10.0.0.7"; });
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "10.0.0.8"; });  // a new address
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].signalDbm = -40; });  // the strength alone: nothing
  EXPECT_EQ(Read(q), (std::vector<Seen>{
                         {NDISUIO_NOTIFICATION_MEDIA_DISCONNECT, NDIS_STATUS_MEDIA_DISCONNECT, u"WLAN1"},
                         {NDISUIO_NOTIFICATION_MEDIA_CONNECT, NDIS_STATUS_MEDIA_CONNECT, u"WLAN1"},
                         {NDISUIO_NOTIFICATION_MEDIA_CONNECT, NDIS_STATUS_MEDIA_CONNECT, u"WLAN1"},
                     }));
}

TEST_F(NdisNotificationTest, AdaptersComingAndGoingInOrder) {
  HANDLE q = Queue();
  ASSERT_TRUE(Request(q, 0x0000FFFF));
  vela::terminal::Adapter lan;
  lan.name = "LAN1";
  lan.ipAddress = "172.16.0.2";
  SetNetwork([&](vela::terminal::Network& n) { n.adapters.push_back(lan); });
  SetNetwork([](vela::terminal::Network& n) { n.adapters.erase(n.adapters.begin()); });
  EXPECT_EQ(Read(q), (std::vector<Seen>{
                         {NDISUIO_NOTIFICATION_ADAPTER_ARRIVAL, NDIS_STATUS_SUCCESS, u"LAN1"},
                         {NDISUIO_NOTIFICATION_MEDIA_CONNECT, NDIS_STATUS_MEDIA_CONNECT, u"LAN1"},
                         {NDISUIO_NOTIFICATION_MEDIA_DISCONNECT, NDIS_STATUS_MEDIA_DISCONNECT, u"WLAN1"},
                         {NDISUIO_NOTIFICATION_ADAPTER_REMOVAL, NDIS_STATUS_SUCCESS, u"WLAN1"},
                     }));
}

TEST_F(NdisNotificationTest, TheMaskFiltersAndANewRequestReplacesIt) {
  HANDLE q = Queue();
  ASSERT_TRUE(Request(q, NDISUIO_NOTIFICATION_MEDIA_CONNECT));
  ASSERT_TRUE(Request(q, NDISUIO_NOTIFICATION_MEDIA_DISCONNECT));  // replaces, not adds
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "0.0.0.0"; });
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "10.0.0.7"; });
  EXPECT_EQ(Read(q), (std::vector<Seen>{
                         {NDISUIO_NOTIFICATION_MEDIA_DISCONNECT, NDIS_STATUS_MEDIA_DISCONNECT, u"WLAN1"}}));

  // The terminal's own 8-byte request: queue handle and mask as two 32-bit words.
  HANDLE device = CreateFileW(NDISUIO_DEVICE_NAME, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(device, INVALID_HANDLE_VALUE);
  const DWORD words[2] = {static_cast<DWORD>(reinterpret_cast<uintptr_t>(q)), 0x0000FFFF};
  EXPECT_TRUE(DeviceIoControl(device, IOCTL_NDISUIO_REQUEST_NOTIFICATION, const_cast<DWORD*>(words), sizeof words,
                              nullptr, 0, nullptr, nullptr));
  SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(device, IOCTL_NDISUIO_REQUEST_NOTIFICATION, const_cast<DWORD*>(words), 4, nullptr,
                               0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  CloseHandle(device);
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "0.0.0.0"; });
  EXPECT_EQ(Read(q).size(), 1u);

  // A mask of 0 ends the request.
  ASSERT_TRUE(Request(q, 0));
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "10.0.0.9"; });
  EXPECT_TRUE(Read(q).empty());
}

TEST_F(NdisNotificationTest, RequestsEndWithTheQueueOrTheDriver) {
  HANDLE gone = vela::testing::MakeReadQueue(kMessage);
  HANDLE kept = Queue();
  ASSERT_TRUE(Request(gone, 0x0000FFFF));
  ASSERT_TRUE(Request(kept, 0x0000FFFF));
  ASSERT_TRUE(CloseMsgQueue(gone));
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "0.0.0.0"; });
  EXPECT_EQ(Read(kept).size(), 1u);  // the closed queue's request harms nobody

  SetNetwork([](vela::terminal::Network& n) { n.ndisDriverPresent = false; });
  SetNetwork([](vela::terminal::Network& n) { n.ndisDriverPresent = true; });
  SetNetwork([](vela::terminal::Network& n) { n.adapters[0].ipAddress = "10.0.0.7"; });
  EXPECT_TRUE(Read(kept).empty());  // the driver that took the request went away

  SetLastError(0);
  EXPECT_FALSE(Request(reinterpret_cast<HANDLE>(uintptr_t{0x7FFC}), 0x0000FFFF));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
