// Kernel objects against the standard library's equivalents: an event ping-pong between two
// threads against a mutex and condition variable, and a message queue against a locked deque.
#include <windows.h>
#include <msgqueue.h>

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct EventPair {
  HANDLE ping = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  HANDLE pong = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  bool stop = false;
  ~EventPair() {
    CloseHandle(ping);
    CloseHandle(pong);
  }
};

void BM_EventPingPong(benchmark::State& state) {
  EventPair pair;
  HANDLE echo = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* e = static_cast<EventPair*>(p);
        for (;;) {
          WaitForSingleObject(e->ping, INFINITE);
          if (e->stop) {
            return 0;
          }
          SetEvent(e->pong);
        }
      },
      &pair, 0, nullptr);
  for (auto _ : state) {
    SetEvent(pair.ping);
    WaitForSingleObject(pair.pong, INFINITE);
  }
  pair.stop = true;
  SetEvent(pair.ping);
  WaitForSingleObject(echo, INFINITE);
  CloseHandle(echo);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EventPingPong)->UseRealTime();

struct CondPair {
  std::mutex mutex;
  std::condition_variable changed;
  int turn = 0;  // 0: main's, 1: echo's
  bool stop = false;
};

void BM_ConditionVariablePingPong(benchmark::State& state) {
  CondPair pair;
  std::thread echo([&] {
    std::unique_lock lock(pair.mutex);
    for (;;) {
      pair.changed.wait(lock, [&] { return pair.turn == 1 || pair.stop; });
      if (pair.stop) {
        return;
      }
      pair.turn = 0;
      pair.changed.notify_all();
    }
  });
  for (auto _ : state) {
    std::unique_lock lock(pair.mutex);
    pair.turn = 1;
    pair.changed.notify_all();
    pair.changed.wait(lock, [&] { return pair.turn == 0; });
  }
  {
    std::lock_guard lock(pair.mutex);
    pair.stop = true;
  }
  pair.changed.notify_all();
  echo.join();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConditionVariablePingPong)->UseRealTime();

void BM_MsgQueueWriteRead(benchmark::State& state) {
  MSGQUEUEOPTIONS r{sizeof(MSGQUEUEOPTIONS), 0, 0, 44, TRUE};
  HANDLE reader = CreateMsgQueue(nullptr, &r);
  MSGQUEUEOPTIONS w{sizeof(MSGQUEUEOPTIONS), 0, 0, 44, FALSE};
  HANDLE writer = OpenMsgQueue(GetCurrentProcess(), reader, &w);
  char message[44] = "power status";
  char buffer[44];
  DWORD got = 0, flags = 0;
  for (auto _ : state) {
    WriteMsgQueue(writer, message, sizeof message, 0, 0);
    ReadMsgQueue(reader, buffer, sizeof buffer, &got, 0, &flags);
    benchmark::DoNotOptimize(buffer);
  }
  CloseHandle(writer);
  CloseHandle(reader);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MsgQueueWriteRead);

void BM_MutexDequeWriteRead(benchmark::State& state) {
  std::mutex mutex;
  std::deque<std::vector<char>> queue;
  char message[44] = "power status";
  char buffer[44];
  for (auto _ : state) {
    {
      std::lock_guard lock(mutex);
      queue.emplace_back(message, message + sizeof message);
    }
    {
      std::lock_guard lock(mutex);
      std::memcpy(buffer, queue.front().data(), queue.front().size());
      queue.pop_front();
    }
    benchmark::DoNotOptimize(buffer);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MutexDequeWriteRead);

}  // namespace

BENCHMARK_MAIN();
