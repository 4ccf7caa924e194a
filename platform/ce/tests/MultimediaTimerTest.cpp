// Multimedia timers on the manual clock: callbacks come as the clock passes their due times.
#include <windows.h>
#include <mmsystem.h>
#include <vela/Clock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mmtimer/TimerQueue.h"
#include "threads/Watchdog.h"

namespace {

using namespace std::chrono_literals;

// What the callbacks saw, in order. Filled on the timer thread, read after WaitUntilIdle.
struct Log {
  std::mutex mutex;
  std::vector<std::string> entries;
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  std::vector<UINT> toKill;
  void Add(const std::string& e) {
    std::lock_guard lock(mutex);
    entries.push_back(e);
  }
};

struct Named {
  Log* log;
  const char* name;
};

void Record(UINT, UINT msg, DWORD_PTR user, DWORD_PTR dw1, DWORD_PTR dw2) {
  auto* n = reinterpret_cast<Named*>(user);
  if (n->log->inside.fetch_add(1) != 0) {
    n->log->overlapped = true;
  }
  n->log->Add(std::string(n->name) + "@" + std::to_string(timeGetTime() % 100000));
  EXPECT_EQ(msg, 0u);
  EXPECT_EQ(dw1 + dw2, 0u);
  n->log->inside.fetch_sub(1);
}

class MultimediaTimer : public ::testing::Test {
 protected:
  MultimediaTimer() : dog_("multimedia timer test") {
    vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 0, 0, 0, 0});
    // Whole seconds on the tick count make the recorded times easy to read.
    vela::clock::Advance(std::chrono::milliseconds(100000 - timeGetTime() % 100000));
    base_ = timeGetTime() % 100000;
  }
  ~MultimediaTimer() override {
    for (UINT id : ids_) {
      timeKillEvent(id);
    }
    vela::mmtimer::WaitUntilIdle();
    vela::clock::UseHost();
  }
  UINT Set(UINT delay, Named* n, UINT flags) {
    const UINT id = timeSetEvent(delay, delay, Record, reinterpret_cast<DWORD_PTR>(n), flags);
    ids_.push_back(id);
    return id;
  }
  void Advance(std::chrono::milliseconds by) {
    vela::clock::Advance(by);
    vela::mmtimer::WaitUntilIdle();
  }
  std::vector<std::string> Take() {
    std::lock_guard lock(log_.mutex);
    return std::exchange(log_.entries, {});
  }

  vela::test::Watchdog dog_;
  Log log_;
  std::vector<UINT> ids_;
  DWORD base_ = 0;
};

TEST_F(MultimediaTimer, PeriodicFiresOncePerPeriodPassed) {
  Named tick{&log_, "t"};
  ASSERT_NE(Set(1000, &tick, TIME_PERIODIC), 0u);
  Advance(999ms);
  EXPECT_TRUE(Take().empty());
  Advance(1ms);
  EXPECT_EQ(Take().size(), 1u);
  Advance(10s);  // one jump: ten callbacks, one after another
  EXPECT_EQ(Take().size(), 10u);
  EXPECT_FALSE(log_.overlapped.load());
  Advance(500ms);
  EXPECT_TRUE(Take().empty());
  Advance(500ms);
  EXPECT_EQ(Take().size(), 1u);
}

TEST_F(MultimediaTimer, TimersInterleaveByDueTime) {
  Named a{&log_, "a"};
  Named b{&log_, "b"};
  Set(300, &a, TIME_PERIODIC);
  Set(500, &b, TIME_PERIODIC);
  Advance(1500ms);
  // Within one jump each callback sees the clock's final time; the order is what counts.
  std::vector<std::string> names;
  for (const std::string& e : Take()) {
    names.push_back(e.substr(0, 1));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "a", "a", "b", "a", "a", "b"}));
}

TEST_F(MultimediaTimer, OneShotFiresOnceAndItsIdEnds) {
  Named once{&log_, "o"};
  const UINT id = Set(250, &once, TIME_ONESHOT);
  ASSERT_NE(id, 0u);
  Advance(5s);
  EXPECT_EQ(Take(), std::vector<std::string>{"o@" + std::to_string(base_ + 5000)});
  EXPECT_EQ(timeKillEvent(id), UINT{MMSYSERR_INVALPARAM});
}

TEST_F(MultimediaTimer, KilledBeforeDueNeverFires) {
  Named n{&log_, "k"};
  const UINT id = Set(100, &n, TIME_PERIODIC);
  EXPECT_EQ(timeKillEvent(id), UINT{TIMERR_NOERROR});
  EXPECT_EQ(timeKillEvent(id), UINT{MMSYSERR_INVALPARAM});
  Advance(1s);
  EXPECT_TRUE(Take().empty());
}

TEST_F(MultimediaTimer, BadArgumentsGiveNoTimer) {
  Named n{&log_, "x"};
  EXPECT_EQ(timeSetEvent(0, 0, Record, reinterpret_cast<DWORD_PTR>(&n), TIME_ONESHOT), 0u);
  EXPECT_EQ(timeSetEvent(10, 0, nullptr, 0, TIME_PERIODIC), 0u);
  EXPECT_EQ(timeSetEvent(10, 0, Record, 0, 0x10 /* event-setting timers are not offered */), 0u);
  EXPECT_EQ(timeKillEvent(0), UINT{MMSYSERR_INVALPARAM});
}

TEST_F(MultimediaTimer, IdsAreNeverZeroNorSoonReused) {
  Named n{&log_, "i"};
  std::set<UINT> seen;
  for (int i = 0; i < 200; ++i) {
    const UINT id = timeSetEvent(1000, 0, Record, reinterpret_cast<DWORD_PTR>(&n), TIME_ONESHOT);
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(seen.insert(id).second) << id;
    timeKillEvent(id);
  }
}

// A periodic callback that kills its own timer on the third call; another that sets a fresh
// one-shot from inside its callback.
struct SelfKill {
  Log* log;
  int calls = 0;
};

TEST_F(MultimediaTimer, CallbacksMayKillAndSetTimers) {
  SelfKill k{&log_};
  const UINT id = timeSetEvent(
      100, 0,
      [](UINT me, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
        auto* s = reinterpret_cast<SelfKill*>(user);
        s->log->Add("kill-" + std::to_string(++s->calls));
        if (s->calls == 3) {
          EXPECT_EQ(timeKillEvent(me), UINT{TIMERR_NOERROR});
        }
      },
      reinterpret_cast<DWORD_PTR>(&k), TIME_PERIODIC);
  ids_.push_back(id);
  Advance(1s);
  EXPECT_EQ(Take(), (std::vector<std::string>{"kill-1", "kill-2", "kill-3"}));

  static Named follow{&log_, "follow"};
  follow.log = &log_;
  const UINT starter = timeSetEvent(
      100, 0,
      [](UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
        EXPECT_NE(timeSetEvent(200, 0, Record, reinterpret_cast<DWORD_PTR>(&follow), TIME_ONESHOT), 0u);
      },
      0, TIME_ONESHOT);
  ASSERT_NE(starter, 0u);
  Advance(100ms);
  Advance(199ms);
  EXPECT_TRUE(Take().empty());
  Advance(1ms);
  EXPECT_EQ(Take(), std::vector<std::string>{"follow@" + std::to_string(base_ + 1300)});
}

TEST_F(MultimediaTimer, TimeGetTimeFollowsTheClock) {
  const DWORD before = timeGetTime();
  vela::clock::Advance(1234ms);
  EXPECT_EQ(timeGetTime() - before, 1234u);
  EXPECT_EQ(timeGetTime(), GetTickCount());
}

}  // namespace
