// Terminal changes made on one thread reach windows and queues of others: sent messages are
// handled on the window's own thread, and concurrent changes never tear a notification.
// The volume folders land in a terminal root of this program's own.
#include <windows.h>

#include <dbt.h>
#include <gtest/gtest.h>
#include <imm.h>
#include <msgqueue.h>
#include <pm.h>
#include <vela/Terminal.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "PrivateTerminalRoot.h"
#include "Watchdog.h"

namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  DWORD thread;
};

std::mutex g_mutex;
std::vector<Seen> g_seen;

LRESULT CALLBACK EventsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_IME_NOTIFY || msg == WM_DEVICECHANGE) {
    std::lock_guard lock(g_mutex);
    g_seen.push_back({msg, wParam, GetCurrentThreadId()});
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A thread with one focused window and a message loop, until the test is done with it.
class UiThread {
 public:
  UiThread() {
    thread_ = std::thread([this] {
      HWND w = CreateWindowExW(0, u"TerminalEventsThreadTest", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      SetFocus(w);
      id_ = GetCurrentThreadId();
      ready_ = true;
      MSG m;
      while (GetMessageW(&m, nullptr, 0, 0)) {
        DispatchMessageW(&m);
      }
      DestroyWindow(w);
    });
    while (!ready_) {
      std::this_thread::yield();
    }
  }
  ~UiThread() {
    PostThreadMessageW(id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  DWORD Id() const { return id_; }

 private:
  std::thread thread_;
  std::atomic<DWORD> id_{0};
  std::atomic<bool> ready_{false};
};

class TerminalEventsThreadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = EventsProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = u"TerminalEventsThreadTest";
    RegisterClassW(&wc);
  }
  void SetUp() override {
    vela::terminal::Get().ResetForTests();
    std::lock_guard lock(g_mutex);
    g_seen.clear();
  }
  void TearDown() override { vela::terminal::Get().ResetForTests(); }
};

TEST_F(TerminalEventsThreadTest, ChangesFromThisThreadAreHandledOnTheWindowsThread) {
  vela::test::Watchdog watchdog("terminal events across threads");
  UiThread ui;
  // Each call returns only after the window's thread has answered.
  ASSERT_TRUE(ImmSetOpenStatus(nullptr, TRUE));
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.identity.volumes = {"Storage Card"}; });
  std::vector<Seen> seen;
  {
    std::lock_guard lock(g_mutex);
    seen = g_seen;
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_IME_NOTIFY));
  EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(IMN_SETOPENSTATUS));
  EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_DEVICECHANGE));
  EXPECT_EQ(seen[1].wParam, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
  for (const Seen& s : seen) {
    EXPECT_EQ(s.thread, ui.Id());
  }
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.identity.volumes.clear(); });
}

TEST_F(TerminalEventsThreadTest, ConcurrentBatteryChangesGiveWholeMessages) {
  vela::test::Watchdog watchdog("concurrent battery changes");
  MSGQUEUEOPTIONS options{sizeof options, 0, 0, POWER_BROADCAST_MAX_SIZE, TRUE};
  HANDLE queue = CreateMsgQueue(nullptr, &options);
  ASSERT_NE(queue, nullptr);
  HANDLE registration = RequestPowerNotifications(queue, PBT_POWERINFOCHANGE);
  ASSERT_NE(registration, nullptr);
  std::atomic<bool> done{false};
  std::atomic<int> read{0};
  std::thread reader([&] {
    unsigned char buffer[POWER_BROADCAST_MAX_SIZE];
    DWORD size = 0, flags = 0;
    while (!done || WaitForSingleObject(queue, 0) == WAIT_OBJECT_0) {
      if (ReadMsgQueue(queue, buffer, sizeof buffer, &size, 1, &flags)) {
        DWORD type = 0;
        std::memcpy(&type, buffer, sizeof type);
        EXPECT_EQ(size, static_cast<DWORD>(POWER_BROADCAST_MAX_SIZE));
        EXPECT_EQ(type, static_cast<DWORD>(PBT_POWERINFOCHANGE));
        EXPECT_LE(buffer[34], 100);
        ++read;
      }
    }
  });
  std::vector<std::thread> writers;
  for (int w = 0; w < 2; ++w) {
    writers.emplace_back([w] {
      for (int i = 0; i < 200; ++i) {
        vela::terminal::Get().Update([&](vela::terminal::State& s) {
          s.power.batteryPercent = static_cast<std::uint8_t>((i * 7 + w) % 101);
        });
      }
    });
  }
  for (std::thread& t : writers) {
    t.join();
  }
  done = true;
  reader.join();
  EXPECT_GT(read.load(), 0);
  EXPECT_TRUE(StopPowerNotifications(registration));
  CloseMsgQueue(queue);
}

}  // namespace
