// Writers sharing a hive, threads and processes: every change made at the same time survives.
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "RegistryTestSupport.h"

namespace {

using vela::testing::RegistryTest;

constexpr int kWriters = 4;
constexpr int kValuesEach = 10;

std::u16string ValueName(int writer, int n) {
  std::string name = "w" + std::to_string(writer) + "_" + std::to_string(n);
  return std::u16string(name.begin(), name.end());
}

// Kills the test process if it hangs, instead of waiting for the harness's time-out.
class Watchdog {
 public:
  explicit Watchdog(unsigned seconds) { alarm(seconds); }
  ~Watchdog() { alarm(0); }
};

void ExpectAllValues(HKEY key) {
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, static_cast<DWORD>(kWriters * kValuesEach));
  for (int w = 0; w < kWriters; ++w) {
    for (int n = 0; n < kValuesEach; ++n) {
      DWORD number = 0;
      DWORD size = sizeof number;
      EXPECT_EQ(RegQueryValueExW(key, ValueName(w, n).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                                 &size),
                ERROR_SUCCESS);
      EXPECT_EQ(number, static_cast<DWORD>(w * 1000 + n));
    }
  }
}

// Each thread writes through its own handle; half of them through a second copy of the hive in
// memory, as another process would have, so that only the file lock keeps them apart.
TEST_F(RegistryTest, ThreadsWithSeparateHandlesLoseNothing) {
  Watchdog watchdog(60);
  Create(HKEY_CURRENT_USER, u"Shared");
  std::vector<HKEY> handles;
  for (int w = 0; w < kWriters; ++w) {
    if (w == kWriters / 2) vela::ForgetRegistryCacheForTests();
    handles.push_back(Create(HKEY_CURRENT_USER, u"Shared"));
  }
  std::vector<std::thread> threads;
  for (int w = 0; w < kWriters; ++w) {
    threads.emplace_back([w, key = handles[w]] {
      for (int n = 0; n < kValuesEach; ++n) {
        const DWORD number = static_cast<DWORD>(w * 1000 + n);
        EXPECT_EQ(RegSetValueExW(key, ValueName(w, n).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                 sizeof number),
                  ERROR_SUCCESS);
      }
    });
  }
  for (auto& thread : threads) thread.join();

  vela::ForgetRegistryCacheForTests();
  ExpectAllValues(Open(HKEY_CURRENT_USER, u"Shared"));
}

TEST_F(RegistryTest, ProcessesWritingAtOnceLoseNothing) {
  Watchdog watchdog(60);
  Create(HKEY_LOCAL_MACHINE, u"Shared");
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      alarm(30);
      close(start[1]);
      char go;
      // All children start writing together when the parent closes the pipe.
      if (read(start[0], &go, 1) != 0) _exit(3);
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Shared", 0, KEY_WRITE, &key) != ERROR_SUCCESS) _exit(2);
      for (int n = 0; n < kValuesEach; ++n) {
        const DWORD number = static_cast<DWORD>(w * 1000 + n);
        if (RegSetValueExW(key, ValueName(w, n).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number) != ERROR_SUCCESS) {
          _exit(1);
        }
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  close(start[0]);
  close(start[1]);
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  }
  // This process saw none of the changes being made; it reads them from the file.
  ExpectAllValues(Open(HKEY_LOCAL_MACHINE, u"Shared"));
}

}  // namespace
