// A program of the simulator for the control tests, started by them through CreateProcess.
//   report FILE        starts as an application does and writes what it started with: the
//                      clock, then the terminal's state
//   wait-battery N     runs as an application does (simulator entry, control listener) until
//                      its battery level is N; exit code 0, or 1 when that does not happen
#include <vela/Clock.h>
#include <vela/Simulator.h>
#include <vela/Terminal.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>

namespace {

int Report(const char* file) {
  if (!vela::sim::StartFromEnvironment()) return 2;
  std::ofstream out(file, std::ios::binary);
  const SYSTEMTIME now = vela::clock::ToSystemTime(vela::clock::UtcNow());
  char clock[64];
  std::snprintf(clock, sizeof clock, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", unsigned{now.wYear}, unsigned{now.wMonth},
                unsigned{now.wDay}, unsigned{now.wHour}, unsigned{now.wMinute}, unsigned{now.wSecond},
                unsigned{now.wMilliseconds});
  out << "clock " << clock << (vela::clock::IsManual() ? " manual" : " host") << "\n";
  out << vela::terminal::StateText(vela::terminal::Get().Get());
  return vela::sim::FinishFromEnvironment(out ? 0 : 1);
}

int WaitForBattery(int level) {
  if (!vela::sim::StartFromEnvironment()) return 2;
  std::mutex mutex;
  std::condition_variable changed;
  const auto reached = [level] { return vela::terminal::Get().Get().power.batteryPercent == level; };
  bool done = false;
  {
    vela::terminal::ScopedListener listener([&](vela::terminal::Change) {
      { std::lock_guard passing(mutex); }  // the waiter is either before its check or asleep
      changed.notify_all();
    });
    std::unique_lock lock(mutex);
    // Host time: a bound for a test that went wrong, not a timing under test.
    done = changed.wait_for(lock, std::chrono::seconds(20), reached);
  }
  return vela::sim::FinishFromEnvironment(done ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "report" && argc == 3) return Report(argv[2]);
  if (mode == "wait-battery" && argc == 3) return WaitForBattery(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: vela-ctl-probe report FILE | wait-battery N\n");
  return 2;
}
