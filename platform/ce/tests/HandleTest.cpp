#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "ScopedTerminalRoot.h"

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

class HandleTest : public ::testing::Test {
 protected:
  static HANDLE OpenTemp() {
    return CreateFileW(u"\\Temp\\h.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_ALWAYS, 0, nullptr);
  }
  vela::testing::ScopedTerminalRoot root_;
};

TEST_F(HandleTest, ClosingWhatIsNotOpenFails) {
  HANDLE closed = OpenTemp();
  ASSERT_NE(closed, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(CloseHandle(closed));
  const HANDLE bad[] = {nullptr, INVALID_HANDLE_VALUE, closed,
                        reinterpret_cast<HANDLE>(uintptr_t{0x1234}),
                        reinterpret_cast<HANDLE>(uintptr_t{0x1235}),
                        reinterpret_cast<HANDLE>(~uintptr_t{0} << 8)};
  for (HANDLE h : bad) {
    SCOPED_TRACE(testing::Message() << h);
    SetLastError(kMarker);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  }
  // The pseudo-handles of the caller close without effect.
  EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
  EXPECT_TRUE(CloseHandle(GetCurrentThread()));
}

// A closed value does not come back soon, so a stale copy fails instead of reaching a newer
// object.
TEST_F(HandleTest, ValuesAreNotReusedSoon) {
  std::set<HANDLE> seen;
  for (int i = 0; i < 5000; ++i) {
    HANDLE h = OpenTemp();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(seen.insert(h).second) << "value came back after " << i << " opens";
    ASSERT_EQ(reinterpret_cast<uintptr_t>(h) & 3, 0u);
    ASSERT_TRUE(CloseHandle(h));
  }
}

TEST_F(HandleTest, DuplicateSharesTheObject) {
  HANDLE h = CreateFileW(u"\\Temp\\d.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE));
  EXPECT_NE(copy, h);
  SetLastError(kMarker);
  EXPECT_FALSE(CloseHandle(h));  // closed by DUPLICATE_CLOSE_SOURCE
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

  HANDLE second = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), copy, GetCurrentProcess(), &second, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  DWORD put = 0;
  ASSERT_TRUE(WriteFile(copy, "ab", 2, &put, nullptr));
  // One object, one file pointer.
  EXPECT_EQ(SetFilePointer(second, 0, nullptr, FILE_CURRENT), 2u);
  EXPECT_TRUE(CloseHandle(copy));
  EXPECT_TRUE(WriteFile(second, "c", 1, &put, nullptr));
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_EQ(root_.ReadBytes("Temp/d.txt"), "abc");

  SetLastError(kMarker);
  EXPECT_FALSE(DuplicateHandle(GetCurrentProcess(), second, GetCurrentProcess(), &copy, 0,
                               FALSE, DUPLICATE_SAME_ACCESS));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

// Threads opening, using and closing at once never lose or double a handle.
TEST_F(HandleTest, ConcurrentOpenAndClose) {
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 300; ++i) {
        HANDLE h = OpenTemp();
        DWORD got = 0;
        char byte;
        if (h == INVALID_HANDLE_VALUE || !ReadFile(h, &byte, 1, &got, nullptr) || !CloseHandle(h) ||
            CloseHandle(h)) {
          ++failures;
        }
      }
    });
  }
  for (std::thread& t : threads) {
    t.join();
  }
  EXPECT_EQ(failures, 0);
}

TEST(CurrentIdsTest, ThreadsAndProcessesHaveTheirOwnIds) {
  const DWORD mainThread = GetCurrentThreadId();
  EXPECT_EQ(GetCurrentThreadId(), mainThread);
  DWORD otherThread = 0;
  std::thread([&] { otherThread = GetCurrentThreadId(); }).join();
  EXPECT_NE(otherThread, 0u);
  EXPECT_NE(otherThread, mainThread);
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));

  // A forked child is another process with another thread, whatever its parent had cached.
  const DWORD parentProcess = GetCurrentProcessId();
  EXPECT_EQ(vela::testing::RunInChild([=] {
              return GetCurrentProcessId() != parentProcess &&
                             GetCurrentProcessId() == static_cast<DWORD>(getpid()) &&
                             GetCurrentThreadId() != mainThread
                         ? 0
                         : 1;
            }),
            0);
}

}  // namespace
