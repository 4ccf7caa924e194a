// One log record the way the logging library writes it: CreateFileW(OPEN_ALWAYS, no sharing),
// SetFilePointer to the end, WriteFile, CloseHandle; beside the floor, a plain
// open(O_APPEND)/write/close of the same line. Arg 0 runs on local disk, 1 on tmpfs.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

const char kLine[] =
    "\"2010/8/4\",\"9:05:07\",\"12345\",\"678\",\"TERMINAL01\",\"DEV\",\"USER\",\"LOG\",\"S\",\"\",\"\"\r\n";

// A fresh terminal root on the chosen file system, removed at the end of the run.
class BenchRoot {
 public:
  explicit BenchRoot(bool tmpfs) {
    std::string pattern = std::string(tmpfs ? "/dev/shm" : "/var/tmp") + "/vela-bench-XXXXXX";
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    setenv("VELA_ROOT", path_.c_str(), 1);
    std::filesystem::create_directories(path_ + "/Temp");
  }
  ~BenchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Host(const char* relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

void BM_PlainAppendFloor(benchmark::State& state) {
  BenchRoot root(state.range(0) == 1);
  const std::string path = root.Host("Temp/plain.log");
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(write(fd, kLine, sizeof kLine - 1));
    close(fd);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainAppendFloor)->Arg(0)->Arg(1);

void BM_CreateFileRecord(benchmark::State& state) {
  BenchRoot root(state.range(0) == 1);
  for (auto _ : state) {
    HANDLE h = CreateFileW(u"\\Temp\\record.log", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      state.SkipWithError("CreateFileW failed");
      break;
    }
    SetFilePointer(h, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(h, kLine, sizeof kLine - 1, &written, nullptr);
    CloseHandle(h);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CreateFileRecord)->Arg(0)->Arg(1);

// Readers that share both, as the runtime library's streams open: the guarded path.
void BM_CreateFileSharedRead(benchmark::State& state) {
  BenchRoot root(state.range(0) == 1);
  HANDLE seed = CreateFileW(u"\\Temp\\shared.log", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(seed);
  for (auto _ : state) {
    HANDLE h = CreateFileW(u"\\Temp\\shared.log", GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    CloseHandle(h);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CreateFileSharedRead)->Arg(0)->Arg(1);

void BM_GetLocalTime(benchmark::State& state) {
  SYSTEMTIME st;
  for (auto _ : state) {
    GetLocalTime(&st);
    benchmark::DoNotOptimize(st);
  }
}
BENCHMARK(BM_GetLocalTime);

}  // namespace

BENCHMARK_MAIN();
