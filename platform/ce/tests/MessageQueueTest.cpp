// Point-to-point message queues, as seen from one thread.
#include <windows.h>
#include <msgqueue.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kernel/MessageQueueObject.h"

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

MSGQUEUEOPTIONS Options(BOOL read, DWORD maxMessages = 0, DWORD maxBytes = 16, DWORD flags = 0) {
  return MSGQUEUEOPTIONS{sizeof(MSGQUEUEOPTIONS), flags, maxMessages, maxBytes, read};
}

// A reader made by CreateMsgQueue and a writer opened on it.
struct Pair {
  HANDLE reader = nullptr;
  HANDLE writer = nullptr;
  explicit Pair(DWORD maxMessages = 0, DWORD maxBytes = 16, DWORD flags = 0) {
    MSGQUEUEOPTIONS r = Options(TRUE, maxMessages, maxBytes, flags);
    reader = CreateMsgQueue(nullptr, &r);
    MSGQUEUEOPTIONS w = Options(FALSE);
    writer = OpenMsgQueue(GetCurrentProcess(), reader, &w);
  }
  ~Pair() {
    if (reader) CloseMsgQueue(reader);
    if (writer) CloseMsgQueue(writer);
  }
};

BOOL Write(HANDLE h, const std::string& text, DWORD flags = 0) {
  return WriteMsgQueue(h, const_cast<char*>(text.data()), static_cast<DWORD>(text.size()), 0, flags);
}

// The next message as text, or "!<error>" when the read fails.
std::string Read(HANDLE h, DWORD* flags = nullptr, DWORD bufferSize = 64) {
  char buffer[64] = {};
  DWORD got = 0;
  DWORD f = 0;
  SetLastError(kMarker);
  if (!ReadMsgQueue(h, buffer, bufferSize, &got, 0, &f)) {
    return "!" + std::to_string(GetLastError());
  }
  if (flags) *flags = f;
  return std::string(buffer, got);
}

bool Signalled(HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

TEST(MessageQueue, MessagesArriveWholeAndInOrder) {
  Pair q;
  ASSERT_NE(q.reader, nullptr);
  ASSERT_NE(q.writer, nullptr);
  EXPECT_TRUE(Write(q.writer, "first"));
  EXPECT_TRUE(Write(q.writer, ""));
  EXPECT_TRUE(Write(q.writer, "third message"));
  EXPECT_EQ(Read(q.reader), "first");
  EXPECT_EQ(Read(q.reader), "");
  EXPECT_EQ(Read(q.reader), "third message");
  EXPECT_EQ(Read(q.reader), "!" + std::to_string(ERROR_TIMEOUT));
}

TEST(MessageQueue, EndsAreSignalledByContentAndRoom) {
  Pair q(2);
  EXPECT_FALSE(Signalled(q.reader));
  EXPECT_TRUE(Signalled(q.writer));
  Write(q.writer, "a");
  EXPECT_TRUE(Signalled(q.reader));
  EXPECT_TRUE(Signalled(q.reader)) << "waiting does not take the message";
  Write(q.writer, "b");
  EXPECT_FALSE(Signalled(q.writer)) << "full";
  SetLastError(kMarker);
  EXPECT_FALSE(Write(q.writer, "c"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_OUTOFMEMORY});
  EXPECT_EQ(Read(q.reader), "a");
  EXPECT_TRUE(Signalled(q.writer));
  EXPECT_EQ(Read(q.reader), "b");
  EXPECT_FALSE(Signalled(q.reader));

  HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE both[2] = {event, q.reader};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), DWORD{WAIT_TIMEOUT});
  Write(q.writer, "x");
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
  CloseHandle(event);
}

TEST(MessageQueue, SizeLimits) {
  Pair q(0, 4);
  SetLastError(kMarker);
  EXPECT_FALSE(Write(q.writer, "12345"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
  EXPECT_TRUE(Write(q.writer, "1234"));
  // Too small a buffer: the message stays for a bigger one, and the size needed is told.
  char small[2];
  DWORD got = 0;
  DWORD flags = 0;
  SetLastError(kMarker);
  EXPECT_FALSE(ReadMsgQueue(q.reader, small, sizeof small, &got, 0, &flags));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(Read(q.reader), "1234");
}

TEST(MessageQueue, AlertsComeFirstAndSayWhatTheyAre) {
  Pair q;
  Write(q.writer, "plain");
  Write(q.writer, "alert1", MSGQUEUE_MSGALERT);
  Write(q.writer, "alert2", MSGQUEUE_MSGALERT);
  DWORD flags = kMarker;
  EXPECT_EQ(Read(q.reader, &flags), "alert1");
  EXPECT_EQ(flags, DWORD{MSGQUEUE_MSGALERT});
  EXPECT_EQ(Read(q.reader, &flags), "alert2");
  EXPECT_EQ(Read(q.reader, &flags), "plain");
  EXPECT_EQ(flags, 0u);
}

TEST(MessageQueue, WrongEndAndWrongHandle) {
  Pair q;
  EXPECT_EQ(Read(q.writer), "!" + std::to_string(ERROR_ACCESS_DENIED));
  SetLastError(kMarker);
  EXPECT_FALSE(Write(q.reader, "x"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  HANDLE event = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(Read(event), "!" + std::to_string(ERROR_INVALID_HANDLE));
  SetLastError(kMarker);
  EXPECT_FALSE(CloseMsgQueue(event));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  MSGQUEUEOPTIONS w = Options(FALSE);
  SetLastError(kMarker);
  EXPECT_EQ(OpenMsgQueue(GetCurrentProcess(), event, &w), nullptr);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  CloseHandle(event);
}

TEST(MessageQueue, BadOptionsFail) {
  MSGQUEUEOPTIONS wrongSize = Options(TRUE);
  wrongSize.dwSize = 4;
  MSGQUEUEOPTIONS noBytes = Options(TRUE, 0, 0);
  MSGQUEUEOPTIONS badFlags = Options(TRUE, 0, 16, 0x80);
  for (MSGQUEUEOPTIONS* o : {static_cast<MSGQUEUEOPTIONS*>(nullptr), &wrongSize, &noBytes, &badFlags}) {
    SetLastError(kMarker);
    EXPECT_EQ(CreateMsgQueue(nullptr, o), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  }
}

// Once every writer has gone, a reader gets what was left, then hears that the queue is broken.
TEST(MessageQueue, ReaderOfBrokenQueue) {
  Pair q;
  Write(q.writer, "last words");
  CloseMsgQueue(q.writer);
  q.writer = nullptr;
  EXPECT_EQ(Read(q.reader), "last words");
  EXPECT_EQ(Read(q.reader), "!" + std::to_string(ERROR_PIPE_NOT_CONNECTED));

  Pair tolerant(0, 16, MSGQUEUE_ALLOW_BROKEN);
  CloseMsgQueue(tolerant.writer);
  tolerant.writer = nullptr;
  EXPECT_EQ(Read(tolerant.reader), "!" + std::to_string(ERROR_TIMEOUT));
}

TEST(MessageQueue, WriterWithoutReader) {
  Pair q;
  CloseMsgQueue(q.reader);
  q.reader = nullptr;
  SetLastError(kMarker);
  EXPECT_FALSE(Write(q.writer, "nobody"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_PIPE_NOT_CONNECTED});
  EXPECT_TRUE(Signalled(q.writer));
}

TEST(MessageQueue, InfoCountsEndsAndMessages) {
  Pair q(5, 16, MSGQUEUE_ALLOW_BROKEN);
  MSGQUEUEOPTIONS r = Options(TRUE);
  HANDLE reader2 = OpenMsgQueue(GetCurrentProcess(), q.writer, &r);
  Write(q.writer, "1");
  Write(q.writer, "2");
  Write(q.writer, "3");
  Read(q.reader);
  MSGQUEUEINFO info{};
  info.dwSize = sizeof info;
  ASSERT_TRUE(GetMsgQueueInfo(reader2, &info));
  EXPECT_EQ(info.dwFlags, DWORD{MSGQUEUE_ALLOW_BROKEN});
  EXPECT_EQ(info.dwMaxMessages, 5u);
  EXPECT_EQ(info.cbMaxMessage, 16u);
  EXPECT_EQ(info.dwCurrentMessages, 2u);
  EXPECT_EQ(info.dwMaxQueueMessages, 3u);
  EXPECT_EQ(info.wNumReaders, 2);
  EXPECT_EQ(info.wNumWriters, 1);
  CloseMsgQueue(reader2);
  ASSERT_TRUE(GetMsgQueueInfo(q.reader, &info));
  EXPECT_EQ(info.wNumReaders, 1);
  info.dwSize = 0;
  SetLastError(kMarker);
  EXPECT_FALSE(GetMsgQueueInfo(q.reader, &info));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST(MessageQueue, NamedQueueIsShared) {
  MSGQUEUEOPTIONS r = Options(TRUE);
  MSGQUEUEOPTIONS w = Options(FALSE);
  SetLastError(kMarker);
  HANDLE reader = CreateMsgQueue(u"KernelTest.Queue", &r);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SUCCESS});
  HANDLE writer = CreateMsgQueue(u"kerneltest.queue", &w);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_TRUE(Write(writer, "shared"));
  EXPECT_EQ(Read(reader), "shared");
  CloseMsgQueue(reader);
  CloseMsgQueue(writer);
}

// Platform code posts into an application's queue through the queue object, which outlives
// the handle it came from; once the reader has gone the writes fail.
TEST(MessageQueue, PlatformWriterFollowsTheReader) {
  MSGQUEUEOPTIONS r = Options(TRUE, 2, 8);
  HANDLE reader = CreateMsgQueue(nullptr, &r);
  auto queue = vela::kernel::QueueOfHandle(reader);
  ASSERT_TRUE(queue);
  EXPECT_TRUE(vela::kernel::WriteToQueue(queue, "notice", 6));
  EXPECT_FALSE(vela::kernel::WriteToQueue(queue, "too long!", 9));
  EXPECT_TRUE(vela::kernel::QueueHasReaders(queue));
  EXPECT_TRUE(Signalled(reader));
  EXPECT_EQ(Read(reader), "notice");
  // Without a writer end, a drained queue answers at once rather than waiting.
  EXPECT_EQ(Read(reader), "!" + std::to_string(ERROR_PIPE_NOT_CONNECTED));
  CloseMsgQueue(reader);
  EXPECT_FALSE(vela::kernel::QueueHasReaders(queue));
  EXPECT_FALSE(vela::kernel::WriteToQueue(queue, "late", 4));
  EXPECT_FALSE(vela::kernel::QueueOfHandle(reader));
}

}  // namespace
