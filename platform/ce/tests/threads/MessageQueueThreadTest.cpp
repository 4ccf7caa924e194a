// Message queues with readers and writers on different threads.
#include <windows.h>
#include <msgqueue.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Watchdog.h"
#include "kernel/Waitable.h"

namespace {

using namespace std::chrono_literals;
using vela::test::Watchdog;

constexpr DWORD kMarker = 0xdeadbeef;

MSGQUEUEOPTIONS Options(BOOL read, DWORD maxMessages = 0, DWORD maxBytes = 16) {
  return MSGQUEUEOPTIONS{sizeof(MSGQUEUEOPTIONS), 0, maxMessages, maxBytes, read};
}

struct Pair {
  HANDLE reader;
  HANDLE writer;
  explicit Pair(DWORD maxMessages = 0) {
    MSGQUEUEOPTIONS r = Options(TRUE, maxMessages);
    reader = CreateMsgQueue(nullptr, &r);
    MSGQUEUEOPTIONS w = Options(FALSE);
    writer = OpenMsgQueue(GetCurrentProcess(), reader, &w);
  }
  ~Pair() {
    CloseHandle(reader);
    CloseHandle(writer);
  }
};

void AwaitWaiters(HANDLE h, std::size_t n) {
  while (vela::kernel::WaitersOf(h) < n) {
    std::this_thread::yield();
  }
}

struct Blocked {
  HANDLE queue;
  DWORD timeout = INFINITE;
  std::atomic<BOOL> ok{-1};
  std::atomic<DWORD> error{kMarker};
  std::atomic<DWORD> value{kMarker};
};

DWORD ReadOne(LPVOID p) {
  auto* b = static_cast<Blocked*>(p);
  DWORD value = 0, got = 0, flags = 0;
  const BOOL ok = ReadMsgQueue(b->queue, &value, sizeof value, &got, b->timeout, &flags);
  b->error = ok ? 0 : GetLastError();
  b->value = value;
  b->ok = ok;
  return 0;
}

DWORD WriteOne(LPVOID p) {
  auto* b = static_cast<Blocked*>(p);
  DWORD value = 7;
  const BOOL ok = WriteMsgQueue(b->queue, &value, sizeof value, b->timeout, 0);
  b->error = ok ? 0 : GetLastError();
  b->ok = ok;
  return 0;
}

HANDLE Start(LPTHREAD_START_ROUTINE routine, Blocked& b) { return CreateThread(nullptr, 0, routine, &b, 0, nullptr); }

void Finish(HANDLE t) {
  ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  CloseHandle(t);
}

TEST(MessageQueueThreads, BlockedReaderGetsTheNextMessage) {
  Watchdog dog("blocked reader");
  Pair q;
  Blocked b{q.reader};
  HANDLE t = Start(ReadOne, b);
  AwaitWaiters(q.reader, 1);
  DWORD value = 1234;
  EXPECT_TRUE(WriteMsgQueue(q.writer, &value, sizeof value, 0, 0));
  Finish(t);
  EXPECT_TRUE(b.ok.load());
  EXPECT_EQ(b.value.load(), 1234u);
}

TEST(MessageQueueThreads, BlockedReaderHearsTheLastWriterGo) {
  Watchdog dog("broken while reading");
  Pair q;
  Blocked b{q.reader};
  HANDLE t = Start(ReadOne, b);
  AwaitWaiters(q.reader, 1);
  CloseHandle(q.writer);
  q.writer = CreateEvent(nullptr, TRUE, FALSE, nullptr);  // something for the destructor to close
  Finish(t);
  EXPECT_FALSE(b.ok.load());
  EXPECT_EQ(b.error.load(), DWORD{ERROR_PIPE_NOT_CONNECTED});
}

// The kit's notifiers close their queue before stopping their thread: a read blocked on the
// closed handle fails instead of waiting on.
TEST(MessageQueueThreads, ClosingTheHandleEndsABlockedRead) {
  Watchdog dog("closed while reading");
  Pair q;
  Blocked b{q.reader};
  HANDLE t = Start(ReadOne, b);
  AwaitWaiters(q.reader, 1);
  HANDLE reader = q.reader;
  q.reader = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(reader);
  Finish(t);
  EXPECT_FALSE(b.ok.load());
  EXPECT_EQ(b.error.load(), DWORD{ERROR_INVALID_HANDLE});
}

TEST(MessageQueueThreads, FullQueueWriterWaitsForRoomOrTimesOut) {
  Watchdog dog("full queue");
  vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 0, 0, 0, 0});
  Pair q(1);
  DWORD value = 1;
  ASSERT_TRUE(WriteMsgQueue(q.writer, &value, sizeof value, 0, 0));

  Blocked timesOut{q.writer, 500};
  HANDLE t = Start(WriteOne, timesOut);
  AwaitWaiters(q.writer, 1);
  vela::clock::Advance(499ms);
  EXPECT_EQ(WaitForSingleObject(t, 0), DWORD{WAIT_TIMEOUT});
  vela::clock::Advance(1ms);
  Finish(t);
  EXPECT_FALSE(timesOut.ok.load());
  EXPECT_EQ(timesOut.error.load(), DWORD{ERROR_TIMEOUT});

  Blocked waits{q.writer, INFINITE};
  t = Start(WriteOne, waits);
  AwaitWaiters(q.writer, 1);
  DWORD got = 0, flags = 0;
  ASSERT_TRUE(ReadMsgQueue(q.reader, &value, sizeof value, &got, 0, &flags));
  Finish(t);
  EXPECT_TRUE(waits.ok.load());
  ASSERT_TRUE(ReadMsgQueue(q.reader, &value, sizeof value, &got, 0, &flags));
  EXPECT_EQ(value, 7u);
  vela::clock::UseHost();
}

// The notifier pattern: wait for the queue or a stop event, drain the queue, repeat.
struct Notifier {
  HANDLE queue;
  HANDLE stop;
  std::atomic<int> received{0};
};

DWORD NotifierThread(LPVOID p) {
  auto* n = static_cast<Notifier*>(p);
  HANDLE handles[2] = {n->queue, n->stop};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
    DWORD value, got, flags;
    while (ReadMsgQueue(n->queue, &value, sizeof value, &got, 0, &flags)) {
      ++n->received;
    }
  }
  return 0;
}

TEST(MessageQueueThreads, ProducersAgainstNotifierThread) {
  Watchdog dog("notifier");
  Pair q(4);
  Notifier n{q.reader, CreateEvent(nullptr, TRUE, FALSE, nullptr)};
  HANDLE notifier = CreateThread(nullptr, 0, NotifierThread, &n, 0, nullptr);
  constexpr int kWriters = 4;
  constexpr int kEach = 200;
  struct Writer {
    HANDLE queue;
  } w{q.writer};
  std::vector<HANDLE> writers;
  for (int i = 0; i < kWriters; ++i) {
    writers.push_back(CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
          auto* wr = static_cast<Writer*>(p);
          for (DWORD v = 0; v < kEach; ++v) {
            if (!WriteMsgQueue(wr->queue, &v, sizeof v, INFINITE, 0)) {
              return 1;
            }
          }
          return 0;
        },
        &w, 0, nullptr));
  }
  for (HANDLE t : writers) {
    ASSERT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    DWORD code = kMarker;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(t);
  }
  while (n.received.load() < kWriters * kEach) {
    std::this_thread::yield();
  }
  SetEvent(n.stop);
  Finish(notifier);
  EXPECT_EQ(n.received.load(), kWriters * kEach);
  CloseHandle(n.stop);
}

}  // namespace
