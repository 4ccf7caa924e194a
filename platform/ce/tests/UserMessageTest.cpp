// Message queues: order and filters, thread messages, sending across threads, timers on the
// manual clock, WM_PAINT generation, registered messages and the test input.
#include <windows.h>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vela/Clock.h>
#include <vela/Input.h>
#include <vela/MessageSpy.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "MessageSequence.h"

using namespace vela::test;
using namespace std::chrono_literals;

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

// Tests that wait on other threads end the program rather than hang the run.
class Watchdog {
 public:
  explicit Watchdog(unsigned seconds) { alarm(seconds); }
  ~Watchdog() { alarm(0); }
};

class ManualClock {
 public:
  ManualClock() {
    SYSTEMTIME start{};
    start.wYear = 2024;
    start.wMonth = 4;
    start.wDay = 1;
    vela::clock::UseManual(start);
  }
  ~ManualClock() { vela::clock::UseHost(); }
};

std::vector<UINT> g_seen;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 1) {
    return static_cast<LRESULT>(wParam * 2);
  }
  if (msg == WM_USER + 2) {
    // Sends back to the sending thread's window while that thread waits for this reply.
    return SendMessageW(reinterpret_cast<HWND>(wParam), WM_USER + 1, 21, 0) + 1;
  }
  if (msg == WM_USER + 3) {
    ReplyMessage(7);
    return 8;  // too late: the sender already has its answer
  }
  if (msg == WM_USER + 4) {
    return InSendMessage();
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class UserMessageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = u"UmRecording";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    RegisterClassW(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = u"UmDouble";
    RegisterClassW(&wc);
  }
  void TearDown() override {
    for (HWND h : created_) {
      if (IsWindow(h)) {
        DestroyWindow(h);
      }
    }
    vela::input::PumpUntilIdle();
  }
  HWND Make(DWORD style, HWND parent = nullptr, LPCWSTR cls = u"UmRecording", RECT r = {0, 0, 50, 50}) {
    HWND h = CreateWindowExW(0, cls, nullptr, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    created_.push_back(h);
    return h;
  }
  std::vector<HWND> created_;
};

TEST_F(UserMessageTest, PostedMessagesComeInOrderAndFiltersApply) {
  HWND a = Make(WS_POPUP);
  HWND b = Make(WS_POPUP);
  vela::input::PumpUntilIdle();
  PostMessageW(a, WM_USER + 10, 1, 0);
  PostMessageW(b, WM_USER + 11, 2, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 12, 3, 0);
  PostMessageW(a, WM_USER + 13, 4, 0);

  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, b, 0, 0, PM_REMOVE));  // only b's
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 11));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 12, WM_USER + 13, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 12));
  EXPECT_EQ(m.hwnd, nullptr);
  ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));  // thread messages only
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 12));
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 10));
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 13));
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));

  // WM_QUIT comes after what was posted before it, and GetMessage then says FALSE.
  PostMessageW(a, WM_USER + 14, 0, 0);
  PostQuitMessage(3);
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 14));
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);

  SetLastError(kMarker);
  EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x12340), WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(kMarker);
  EXPECT_EQ(GetMessageW(&m, reinterpret_cast<HWND>(0x12340), 0, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserMessageTest, PaintComesOnlyWhenInvalidAndAfterPostedMessages) {
  HWND h = Make(WS_POPUP | WS_VISIBLE);
  vela::input::PumpUntilIdle();
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));  // painted: nothing left

  vela::MessageSpy spy;
  spy.Watch(h);
  RECT part{0, 0, 10, 10};
  InvalidateRect(h, &part, TRUE);
  PostMessageW(h, WM_USER + 20, 0, 0);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));
  EXPECT_EQ(update.right, 10);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_USER + 20, kPosted}, {WM_PAINT, kPosted}, {WM_ERASEBKGND, kSent}}));
  EXPECT_FALSE(GetUpdateRect(h, &update, FALSE));

  // Invalid without erase: WM_PAINT alone. Validated before retrieval: nothing.
  InvalidateRect(h, nullptr, FALSE);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_PAINT, kPosted}}));
  InvalidateRect(h, nullptr, TRUE);
  ValidateRect(h, nullptr);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(spy.Take().empty());

  // UpdateWindow paints at once, with a sent WM_PAINT.
  InvalidateRect(h, nullptr, FALSE);
  UpdateWindow(h);
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_PAINT, kSent}}));
}

TEST_F(UserMessageTest, TimersFollowTheManualClock) {
  ManualClock clock;
  HWND h = Make(WS_POPUP);
  vela::input::PumpUntilIdle();
  vela::MessageSpy spy;
  spy.Watch(h);
  ASSERT_EQ(SetTimer(h, 5, 100, nullptr), 5u);
  vela::clock::Advance(99ms);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(spy.Take().empty());
  // Late by several intervals: one WM_TIMER, not a burst.
  vela::clock::Advance(350ms);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_TIMER, kPosted | kWParam, 5}}));
  // Setting the id again restarts it.
  vela::clock::Advance(60ms);
  SetTimer(h, 5, 100, nullptr);
  vela::clock::Advance(60ms);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(spy.Take().empty());
  vela::clock::Advance(40ms);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(spy.Take().size(), 1u);
  EXPECT_TRUE(KillTimer(h, 5));
  SetLastError(kMarker);
  EXPECT_FALSE(KillTimer(h, 5));
  vela::clock::Advance(1000ms);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(spy.Take().empty());

  // A callback timer without a window; its id is chosen by the platform.
  static int calls = 0;
  calls = 0;
  const UINT_PTR id = SetTimer(nullptr, 0, 50, [](HWND, UINT msg, UINT_PTR, DWORD) {
    EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
    ++calls;
  });
  ASSERT_NE(id, 0u);
  vela::clock::Advance(50ms);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(calls, 1);
  KillTimer(nullptr, id);

  // GetMessage blocked on an empty queue wakes when the clock reaches the timer.
  SetTimer(h, 9, 1000, nullptr);
  Watchdog watchdog(30);
  std::thread advancer([] {
    std::this_thread::sleep_for(20ms);  // lets the main thread block first; not a timing assertion
    vela::clock::Advance(1000ms);
  });
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(m.wParam, 9u);
  advancer.join();
  KillTimer(h, 9);
}

TEST_F(UserMessageTest, CrossThreadSendWaitsAndStillServesSendsToTheSender) {
  Watchdog watchdog(30);
  HWND mine = Make(WS_POPUP);
  std::atomic<HWND> theirs{nullptr};
  std::atomic<DWORD> theirThread{0};
  std::thread ui([&] {
    theirThread = GetCurrentThreadId();
    theirs = CreateWindowExW(0, u"UmRecording", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0)) {
      DispatchMessageW(&m);
    }
    DestroyWindow(theirs);
  });
  while (theirThread == 0) {
    std::this_thread::yield();
  }
  while (!vela::input::WaitUntilIdle(theirThread, 10s) || theirs == nullptr) {
  }
  EXPECT_EQ(GetWindowThreadProcessId(theirs, nullptr), theirThread.load());
  EXPECT_EQ(SendMessageW(theirs, WM_USER + 1, 5, 0), 10);
  // The other thread sends back to this one while this one waits: no deadlock.
  EXPECT_EQ(SendMessageW(theirs, WM_USER + 2, reinterpret_cast<WPARAM>(mine), 0), 43);
  EXPECT_EQ(SendMessageW(theirs, WM_USER + 3, 0, 0), 7);
  EXPECT_EQ(SendMessageW(theirs, WM_USER + 4, 0, 0), TRUE);
  EXPECT_EQ(SendMessageW(mine, WM_USER + 4, 0, 0), FALSE);  // same thread: a plain call

  // Thread messages and windows of another thread.
  EXPECT_TRUE(PostThreadMessageW(theirThread, WM_QUIT, 0, 0));
  ui.join();
  SetLastError(kMarker);
  EXPECT_FALSE(PostThreadMessageW(theirThread, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
  EXPECT_FALSE(IsWindow(theirs));
}

TEST_F(UserMessageTest, RegisteredMessagesAreSharedWithoutRegardToCase) {
  const UINT first = RegisterWindowMessageW(u"VELA_TEST_MESSAGE");
  EXPECT_GE(first, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageW(u"vela_test_message"), first);
  const UINT other = RegisterWindowMessageW(u"VELA_OTHER_MESSAGE");
  EXPECT_NE(other, first);
  SetLastError(kMarker);
  EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // Another process on the same terminal root: the same numbers, in either order of asking.
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  if (child == 0) {
    UINT numbers[3] = {RegisterWindowMessageW(u"Vela_Other_Message"), RegisterWindowMessageW(u"VELA_TEST_MESSAGE"),
                       RegisterWindowMessageW(u"VELA_CHILD_MESSAGE")};
    (void)!write(pipeEnds[1], numbers, sizeof numbers);
    _exit(0);
  }
  UINT numbers[3] = {};
  ASSERT_EQ(read(pipeEnds[0], numbers, sizeof numbers), static_cast<ssize_t>(sizeof numbers));
  waitpid(child, nullptr, 0);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
  EXPECT_EQ(numbers[0], other);
  EXPECT_EQ(numbers[1], first);
  EXPECT_EQ(RegisterWindowMessageW(u"vela_child_message"), numbers[2]);
}

TEST_F(UserMessageTest, KeysBecomeCharactersThroughTranslateMessage) {
  HWND h = Make(WS_POPUP | WS_VISIBLE);
  vela::input::PumpUntilIdle();
  ASSERT_EQ(GetFocus(), h);
  vela::MessageSpy spy;
  spy.Watch(h);
  vela::input::KeyPress('A');
  vela::input::KeyDown(VK_SHIFT);
  vela::input::KeyPress('B');
  vela::input::KeyUp(VK_SHIFT);
  vela::input::TypeText(u"か");
  vela::input::PumpUntilIdle();
  std::vector<UINT> chars;
  for (const auto& m : spy.Take()) {
    if (m.message == WM_CHAR) {
      chars.push_back(static_cast<UINT>(m.wParam));
    }
  }
  EXPECT_EQ(chars, (std::vector<UINT>{u'a', u'B', u'か'}));
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(UserMessageTest, StylusGivesDoubleClicksOnlyToClassesThatAskForThem) {
  ManualClock clock;
  HWND plain = Make(WS_POPUP | WS_VISIBLE, nullptr, u"UmRecording", {0, 0, 50, 50});
  HWND dbl = Make(WS_POPUP | WS_VISIBLE, nullptr, u"UmDouble", {100, 0, 150, 50});
  vela::input::PumpUntilIdle();
  vela::MessageSpy spy;
  spy.Watch(plain);
  spy.Watch(dbl);
  auto clicks = [&] {
    std::vector<UINT> out;
    for (const auto& m : spy.Take()) {
      if (m.message >= WM_LBUTTONDOWN && m.message <= WM_LBUTTONDBLCLK) {
        out.push_back(m.message);
      }
    }
    return out;
  };
  vela::input::Tap(10, 10);
  vela::input::Tap(10, 10);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(clicks(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));

  vela::input::Tap(110, 10);
  vela::clock::Advance(400ms);
  vela::input::Tap(112, 11);
  vela::input::Tap(112, 11);  // a third tap starts over
  vela::clock::Advance(600ms);
  vela::input::Tap(112, 11);  // too late for a double click
  vela::input::PumpUntilIdle();
  EXPECT_EQ(clicks(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN,
                                         WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));

  // Client coordinates in lParam, and the capture window gets the stylus wherever it goes.
  SetCapture(plain);
  vela::input::StylusDown(120, 30);
  vela::input::StylusUp(120, 30);
  vela::input::PumpUntilIdle();
  auto got = spy.Take();
  auto down = std::find_if(got.begin(), got.end(), [](const auto& m) { return m.message == WM_LBUTTONDOWN; });
  ASSERT_NE(down, got.end());
  EXPECT_EQ(down->hwnd, plain);
  EXPECT_EQ(down->lParam, MAKELPARAM(120, 30));
  EXPECT_EQ(down->wParam, static_cast<WPARAM>(MK_LBUTTON));
  ReleaseCapture();
}

}  // namespace
