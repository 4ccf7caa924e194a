#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <cstdio>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "ScopedTerminalRoot.h"

namespace {

using vela::testing::RunInChild;
using vela::testing::Signal;

constexpr DWORD kMarker = 0xdeadbeef;
constexpr DWORD R = GENERIC_READ;
constexpr DWORD W = GENERIC_WRITE;
constexpr DWORD RW = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ;
constexpr DWORD SW = FILE_SHARE_WRITE;
constexpr DWORD SRW = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr LPCWSTR kPath = u"\\Temp\\shared.log";

HANDLE Open(DWORD access, DWORD share, LPCWSTR path = kPath) {
  return CreateFileW(path, access, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The child's verdict on an open, as its exit code.
enum ChildResult { kOpened = 0, kRefused = 1, kOtherError = 2 };

int TryOpenInChild(DWORD access, DWORD share) {
  return RunInChild([=] {
    SetLastError(kMarker);
    HANDLE h = Open(access, share);
    if (h != INVALID_HANDLE_VALUE) {
      return CloseHandle(h) ? int{kOpened} : int{kOtherError};
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? int{kRefused} : int{kOtherError};
  });
}

class ShareModeTest : public ::testing::Test {
 protected:
  vela::testing::ScopedTerminalRoot root_;
};

struct Mode {
  DWORD access;
  DWORD share;
};

// An open is refused exactly when it wants an access the other does not share, or the other
// has an access it does not share.
bool Compatible(Mode a, Mode b) {
  auto sharesFor = [](Mode holder, Mode opener) {
    return (!(opener.access & GENERIC_READ) || (holder.share & FILE_SHARE_READ)) &&
           (!(opener.access & GENERIC_WRITE) || (holder.share & FILE_SHARE_WRITE));
  };
  return sharesFor(a, b) && sharesFor(b, a);
}

TEST_F(ShareModeTest, MatrixOfAccessAndShareBetweenTwoHandles) {
  std::vector<Mode> modes;
  for (DWORD access : {R, W, RW}) {
    for (DWORD share : {DWORD{0}, SR, SW, SRW}) {
      modes.push_back({access, share});
    }
  }
  for (Mode holder : modes) {
    HANDLE first = Open(holder.access, holder.share);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    for (Mode opener : modes) {
      SCOPED_TRACE(testing::Message() << std::hex << "holder " << holder.access << "/" << holder.share
                                      << ", opener " << opener.access << "/" << opener.share);
      SetLastError(kMarker);
      HANDLE second = Open(opener.access, opener.share);
      if (Compatible(holder, opener)) {
        EXPECT_NE(second, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
        EXPECT_TRUE(CloseHandle(second));
      } else {
        EXPECT_EQ(second, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
      }
    }
    ASSERT_TRUE(CloseHandle(first));
  }
}

// A refused open leaves nothing behind that would refuse the next one.
TEST_F(ShareModeTest, RefusedOpenLeavesNoTrace) {
  HANDLE reader = Open(R, SR);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(RW, SRW), INVALID_HANDLE_VALUE);  // registers write access, then is refused
  HANDLE second = Open(R, SR);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  CloseHandle(second);
  CloseHandle(reader);
  HANDLE exclusive = Open(RW, 0);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
}

TEST_F(ShareModeTest, QueryOnlyOpenIgnoresSharing) {
  HANDLE exclusive = Open(RW, 0);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  HANDLE query = CreateFileW(kPath, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(query, INVALID_HANDLE_VALUE);
  CloseHandle(query);
  CloseHandle(exclusive);
}

TEST_F(ShareModeTest, DuplicateKeepsTheFileHeldUntilLastHandle) {
  HANDLE original = Open(W, 0);
  ASSERT_NE(original, INVALID_HANDLE_VALUE);
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), original, GetCurrentProcess(), &copy, 0,
                              FALSE, DUPLICATE_SAME_ACCESS));
  ASSERT_TRUE(CloseHandle(original));
  SetLastError(kMarker);
  EXPECT_EQ(Open(R, SRW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  ASSERT_TRUE(CloseHandle(copy));
  HANDLE after = Open(R, SRW);
  EXPECT_NE(after, INVALID_HANDLE_VALUE);
  CloseHandle(after);
}

TEST_F(ShareModeTest, HeldFileCannotBeDeletedOrMoved) {
  HANDLE h = Open(W, SR);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetLastError(kMarker);
  EXPECT_FALSE(DeleteFileW(kPath));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  SetLastError(kMarker);
  EXPECT_FALSE(MoveFileW(kPath, u"\\Temp\\moved.log"));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  CloseHandle(h);
  EXPECT_TRUE(DeleteFileW(kPath));
}

// Runtime-library streams open as readers and writers that share both.
TEST_F(ShareModeTest, WideFopenSharesReadAndWrite) {
  HANDLE exclusive = Open(W, 0);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  errno = 0;
  EXPECT_EQ(_wfopen(kPath, u"r"), nullptr);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(_wfopen(kPath, u"a"), nullptr);
  CloseHandle(exclusive);

  FILE* reader = _wfopen(kPath, u"r");
  FILE* writer = _wfopen(kPath, u"a");
  ASSERT_NE(reader, nullptr);
  ASSERT_NE(writer, nullptr);
  HANDLE shared = Open(RW, SRW);
  EXPECT_NE(shared, INVALID_HANDLE_VALUE);
  CloseHandle(shared);
  SetLastError(kMarker);
  EXPECT_EQ(Open(R, SR), INVALID_HANDLE_VALUE);  // the "a" stream writes
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  fclose(writer);
  HANDLE readersOnly = Open(R, SR);
  EXPECT_NE(readersOnly, INVALID_HANDLE_VALUE);
  CloseHandle(readersOnly);
  fclose(reader);
}

// Of several threads opening without sharing at the same moment, exactly one gets the file.
TEST_F(ShareModeTest, RacingExclusiveOpensHaveOneWinner) {
  constexpr int kThreads = 8;
  for (int round = 0; round < 20; ++round) {
    std::barrier start(kThreads);
    std::barrier tried(kThreads);
    std::atomic<int> winners{0};
    std::atomic<int> refusedWrongly{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        start.arrive_and_wait();
        HANDLE h = Open(i % 2 ? W : RW, 0);
        if (h != INVALID_HANDLE_VALUE) {
          ++winners;
        } else if (GetLastError() != ERROR_SHARING_VIOLATION) {
          ++refusedWrongly;
        }
        tried.arrive_and_wait();  // hold the file until every thread has tried
        if (h != INVALID_HANDLE_VALUE) {
          CloseHandle(h);
        }
      });
    }
    for (std::thread& t : threads) {
      t.join();
    }
    ASSERT_EQ(winners, 1) << "round " << round;
    ASSERT_EQ(refusedWrongly, 0);
  }
}

// Two opens that exclude each other, started together: one of them wins, never neither.
TEST_F(ShareModeTest, RacingIncompatibleOpensHaveOneWinner) {
  const std::pair<Mode, Mode> pairs[] = {
      {{R, SR}, {W, SRW}},
      {{R, SR}, {RW, SR}},
      {{W, SRW}, {R, SR}},
      {{RW, 0}, {R, SRW}},
  };
  for (const auto& [a, b] : pairs) {
    SCOPED_TRACE(testing::Message() << std::hex << a.access << "/" << a.share << " against "
                                    << b.access << "/" << b.share);
    for (int round = 0; round < 200; ++round) {
      std::barrier start(2);
      std::barrier tried(2);
      std::atomic<int> winners{0};
      auto attempt = [&](Mode m) {
        start.arrive_and_wait();
        HANDLE h = Open(m.access, m.share);
        winners += h != INVALID_HANDLE_VALUE;
        tried.arrive_and_wait();
        if (h != INVALID_HANDLE_VALUE) {
          CloseHandle(h);
        }
      };
      std::thread first(attempt, a);
      std::thread second(attempt, b);
      first.join();
      second.join();
      ASSERT_EQ(winners, 1) << "round " << round;
    }
  }
}

TEST_F(ShareModeTest, ChildIsRefusedWhileParentHoldsAndAdmittedAfter) {
  HANDLE h = Open(W, SR);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(TryOpenInChild(W, SRW), kRefused);
  EXPECT_EQ(TryOpenInChild(RW, 0), kRefused);
  EXPECT_EQ(TryOpenInChild(R, SRW), kOpened);
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_EQ(TryOpenInChild(RW, 0), kOpened);
}

TEST_F(ShareModeTest, ParentIsRefusedWhileChildHolds) {
  Signal opened;
  Signal release;
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    alarm(10);
    HANDLE h = Open(W, 0);
    opened.Raise();
    release.Wait();
    _exit(h != INVALID_HANDLE_VALUE && CloseHandle(h) ? 0 : 1);
  }
  ASSERT_TRUE(opened.Wait());
  SetLastError(kMarker);
  EXPECT_EQ(Open(R, SRW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  release.Raise();
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0);
  HANDLE h = Open(RW, 0);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

// Two processes appending records with exclusive opens, each retrying while the other holds
// the file: every record lands whole at the end, none overwrites another.
TEST_F(ShareModeTest, ExclusiveAppendersInTwoProcessesLoseNothing) {
  constexpr int kRecords = 2000;
  auto append = [](char tag) {
    for (int i = 0; i < kRecords;) {
      HANDLE h = Open(W, 0);
      if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_SHARING_VIOLATION) {
          return 1;
        }
        continue;
      }
      const char line[] = {tag, tag, tag, '\n'};
      DWORD put = 0;
      const bool ok = SetFilePointer(h, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                      WriteFile(h, line, sizeof line, &put, nullptr) && put == sizeof line;
      CloseHandle(h);
      if (!ok) {
        return 2;
      }
      ++i;
    }
    return 0;
  };
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    alarm(20);
    _exit(append('c'));
  }
  EXPECT_EQ(append('p'), 0);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  const std::string all = root_.ReadBytes("Temp/shared.log");
  ASSERT_EQ(all.size(), 2u * kRecords * 4);
  int parent = 0;
  int child = 0;
  for (size_t i = 0; i < all.size(); i += 4) {
    const std::string line = all.substr(i, 4);
    parent += line == "ppp\n";
    child += line == "ccc\n";
  }
  EXPECT_EQ(parent, kRecords);
  EXPECT_EQ(child, kRecords);
}

// A process that dies holding a file (killed, or ended without closing) lets go of it.
TEST_F(ShareModeTest, DeadHolderLetsGo) {
  EXPECT_EQ(RunInChild([] { return Open(W, 0) == INVALID_HANDLE_VALUE ? 1 : 0; }), 0);
  HANDLE h = Open(RW, 0);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

}  // namespace
