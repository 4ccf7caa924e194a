// Events, waits on several objects and critical sections, as seen from one thread.
#include <windows.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

// Closes the handles a test made, whatever way it leaves.
struct Handles {
  std::vector<HANDLE> list;
  HANDLE Add(HANDLE h) {
    list.push_back(h);
    return h;
  }
  ~Handles() {
    for (HANDLE h : list) {
      CloseHandle(h);
    }
  }
};

bool Signalled(HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

TEST(KernelEvent, ManualResetStaysSignalledUntilReset) {
  Handles hs;
  HANDLE e = hs.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  ASSERT_NE(e, nullptr);
  EXPECT_FALSE(Signalled(e));
  EXPECT_TRUE(SetEvent(e));
  EXPECT_TRUE(Signalled(e));
  EXPECT_TRUE(Signalled(e));
  EXPECT_TRUE(ResetEvent(e));
  EXPECT_FALSE(Signalled(e));

  HANDLE initially = hs.Add(CreateEvent(nullptr, TRUE, TRUE, nullptr));
  EXPECT_TRUE(Signalled(initially));
}

TEST(KernelEvent, AutoResetSignalGoesToOneWait) {
  Handles hs;
  HANDLE e = hs.Add(CreateEvent(nullptr, FALSE, TRUE, nullptr));
  EXPECT_TRUE(Signalled(e));
  EXPECT_FALSE(Signalled(e));
  SetEvent(e);
  SetEvent(e);  // signals do not add up
  EXPECT_TRUE(Signalled(e));
  EXPECT_FALSE(Signalled(e));
}

// With nobody waiting, a pulse leaves no trace on either kind.
TEST(KernelEvent, PulseWithoutWaitersLeavesEventClear) {
  Handles hs;
  for (BOOL manual : {TRUE, FALSE}) {
    HANDLE e = hs.Add(CreateEvent(nullptr, manual, FALSE, nullptr));
    EXPECT_TRUE(PulseEvent(e));
    EXPECT_FALSE(Signalled(e)) << "manual " << manual;
    SetEvent(e);
    EXPECT_TRUE(PulseEvent(e));
    EXPECT_FALSE(Signalled(e)) << "a pulse ends a standing signal too, manual " << manual;
  }
}

TEST(KernelEvent, BadHandlesFailWithInvalidHandle) {
  HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(e));
  for (auto call : {SetEvent, ResetEvent, PulseEvent}) {
    SetLastError(kMarker);
    EXPECT_FALSE(call(e));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  }
  SetLastError(kMarker);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  SetLastError(kMarker);
  EXPECT_FALSE(CloseHandle(e));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  // A handle of another kind is not an event.
  HANDLE thread = CreateThread(nullptr, 0, [](LPVOID) -> DWORD { return 0; }, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  SetLastError(kMarker);
  EXPECT_FALSE(SetEvent(thread));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  CloseHandle(thread);
}

TEST(KernelEvent, NamedEventsAreSharedCaseBlind) {
  Handles hs;
  SetLastError(kMarker);
  HANDLE first = hs.Add(CreateEvent(nullptr, FALSE, FALSE, u"KernelTest.Shared"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SUCCESS});
  // A second create finds the first; its own arguments (manual, signalled) are ignored.
  HANDLE second = hs.Add(CreateEvent(nullptr, TRUE, TRUE, u"kerneltest.SHARED"));
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_FALSE(Signalled(first));
  SetEvent(second);
  EXPECT_TRUE(Signalled(first));
  EXPECT_FALSE(Signalled(second)) << "still auto-reset: the wait on first took the signal";

  HANDLE opened = hs.Add(OpenEvent(EVENT_ALL_ACCESS, FALSE, u"KERNELTEST.shared"));
  ASSERT_NE(opened, nullptr);
  SetEvent(opened);
  EXPECT_TRUE(Signalled(second));
}

TEST(KernelEvent, NameEndsWithItsLastHandle) {
  HANDLE a = CreateEvent(nullptr, TRUE, FALSE, u"KernelTest.Gone");
  HANDLE b = OpenEvent(EVENT_ALL_ACCESS, FALSE, u"KernelTest.Gone");
  ASSERT_NE(b, nullptr);
  CloseHandle(a);
  HANDLE c = OpenEvent(EVENT_ALL_ACCESS, FALSE, u"KernelTest.Gone");
  EXPECT_NE(c, nullptr) << "b still holds the event";
  CloseHandle(b);
  CloseHandle(c);
  SetLastError(kMarker);
  EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, u"KernelTest.Gone"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
  SetLastError(kMarker);
  EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

// An unnamed event and a named one of the same spelling have nothing to do with each other.
TEST(KernelEvent, UnnamedEventsAreNeverShared) {
  Handles hs;
  HANDLE a = hs.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  HANDLE b = hs.Add(CreateEvent(nullptr, TRUE, FALSE, u""));
  SetEvent(a);
  EXPECT_FALSE(Signalled(b));
}

TEST(KernelWaitMultiple, AnyGivesLowestSignalledIndex) {
  Handles hs;
  HANDLE e[3];
  for (HANDLE& h : e) {
    h = hs.Add(CreateEvent(nullptr, FALSE, FALSE, nullptr));
  }
  EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), DWORD{WAIT_TIMEOUT});
  SetEvent(e[2]);
  SetEvent(e[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), DWORD{WAIT_TIMEOUT});
  // Wait-any may name an object twice.
  SetEvent(e[0]);
  HANDLE twice[2] = {e[0], e[0]};
  EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);
}

// Wait-all takes nothing until it can take everything, and then takes the auto-reset signals.
TEST(KernelWaitMultiple, AllTakesSignalsTogether) {
  Handles hs;
  HANDLE autoA = hs.Add(CreateEvent(nullptr, FALSE, TRUE, nullptr));
  HANDLE manual = hs.Add(CreateEvent(nullptr, TRUE, TRUE, nullptr));
  HANDLE autoB = hs.Add(CreateEvent(nullptr, FALSE, FALSE, nullptr));
  HANDLE all[3] = {autoA, manual, autoB};
  EXPECT_EQ(WaitForMultipleObjects(3, all, TRUE, 0), DWORD{WAIT_TIMEOUT});
  EXPECT_TRUE(Signalled(autoA)) << "a failed wait-all must not consume";
  SetEvent(autoA);
  SetEvent(autoB);
  EXPECT_EQ(WaitForMultipleObjects(3, all, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_FALSE(Signalled(autoA));
  EXPECT_FALSE(Signalled(autoB));
  EXPECT_TRUE(Signalled(manual));
}

TEST(KernelWaitMultiple, BadArgumentsFail) {
  Handles hs;
  HANDLE e = hs.Add(CreateEvent(nullptr, TRUE, TRUE, nullptr));
  HANDLE closed = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  CloseHandle(closed);
  std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS + 1, e);
  struct Case {
    DWORD count;
    const HANDLE* handles;
    BOOL all;
    DWORD error;
  };
  HANDLE withClosed[2] = {e, closed};
  HANDLE duplicate[2] = {e, e};
  HANDLE pseudo[1] = {GetCurrentProcess()};
  const Case cases[] = {
      {0, &e, FALSE, ERROR_INVALID_PARAMETER},
      {MAXIMUM_WAIT_OBJECTS + 1, many.data(), FALSE, ERROR_INVALID_PARAMETER},
      {1, nullptr, FALSE, ERROR_INVALID_PARAMETER},
      // A bad handle fails the call even when an earlier object is signalled.
      {2, withClosed, FALSE, ERROR_INVALID_HANDLE},
      {2, duplicate, TRUE, ERROR_INVALID_PARAMETER},
      {1, pseudo, FALSE, ERROR_INVALID_HANDLE},
  };
  for (const Case& c : cases) {
    SetLastError(kMarker);
    EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles, c.all, 0), WAIT_FAILED) << c.count;
    EXPECT_EQ(GetLastError(), c.error) << c.count;
  }
  EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0), WAIT_OBJECT_0);
}

// On the manual clock a zero time-out still answers at once, and a time-out is never
// reached without the clock moving.
TEST(KernelWaitMultiple, ZeroTimeoutOnManualClock) {
  vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 0, 0, 0, 0});
  Handles hs;
  HANDLE e = hs.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  EXPECT_EQ(WaitForSingleObject(e, 0), DWORD{WAIT_TIMEOUT});
  EXPECT_EQ(WaitForMultipleObjects(1, &e, TRUE, 0), DWORD{WAIT_TIMEOUT});
  vela::clock::UseHost();
}

// Input in the caller's queue counts after the objects, and only for the classes asked for.
TEST(KernelMsgWait, ObjectsComeBeforeInput) {
  Handles hs;
  HANDLE e = hs.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  MSG drain;
  while (PeekMessageW(&drain, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &e, FALSE, 0, QS_ALLINPUT), DWORD{WAIT_TIMEOUT});
  ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0));
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &e, FALSE, 0, QS_KEY | QS_TIMER), DWORD{WAIT_TIMEOUT});
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &e, FALSE, 0, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
  SetEvent(e);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &e, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
  // The message is still there: waiting does not take it.
  ASSERT_TRUE(PeekMessageW(&drain, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(drain.message, UINT{WM_APP});
  SetLastError(kMarker);
  HANDLE closed = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(closed);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &closed, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

TEST(KernelCriticalSection, RecursiveOwnership) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  EnterCriticalSection(&cs);
  EXPECT_EQ(cs.OwnerThread, GetCurrentThreadId());
  EXPECT_TRUE(TryEnterCriticalSection(&cs));
  EnterCriticalSection(&cs);
  EXPECT_EQ(cs.LockCount, 3u);
  LeaveCriticalSection(&cs);
  LeaveCriticalSection(&cs);
  EXPECT_EQ(cs.OwnerThread, GetCurrentThreadId());
  LeaveCriticalSection(&cs);
  EXPECT_EQ(cs.OwnerThread, 0u);
  // A leave too many is refused, so the next enter still locks.
  LeaveCriticalSection(&cs);
  EXPECT_TRUE(TryEnterCriticalSection(&cs));
  EXPECT_EQ(cs.LockCount, 1u);
  LeaveCriticalSection(&cs);
  DeleteCriticalSection(&cs);
}

}  // namespace
