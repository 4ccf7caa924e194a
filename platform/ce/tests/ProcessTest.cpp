// CreateProcess, the process object, and ShellExecuteEx with what it records.
#include <gtest/gtest.h>
#include <handleapi.h>
#include <processthreadsapi.h>
#include <shellapi.h>
#include <winbase.h>
#include <vela/Clock.h>
#include <vela/Terminal.h>

#include <sys/stat.h>

#include <atomic>
#include <thread>

#include "ScopedTerminalRoot.h"

namespace {

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.MakeFolder("Windows");
    root_.MakeFolder("Temp");
    vela::terminal::Get().ResetForTests();
  }
  void TearDown() override {
    vela::terminal::Get().ResetForTests();
    vela::clock::UseHost();
  }

  // A program of the terminal: a host script, which the platform runs like any image.
  void WriteProgram(std::string_view relative, std::string_view body) {
    root_.WriteBytes(relative, "#!/bin/sh\n" + std::string(body));
    chmod(root_.Host(relative).c_str(), 0755);
  }

  static BOOL Start(LPCWSTR image, LPCWSTR commandLine, PROCESS_INFORMATION& info) {
    std::u16string line = commandLine ? commandLine : u"";
    return CreateProcessW(image, commandLine ? line.data() : nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, nullptr, &info);
  }

  static void ExpectFailure(LPCWSTR image, DWORD error) {
    PROCESS_INFORMATION info{};
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Start(image, nullptr, info)) << "image " << std::string(image, image + std::char_traits<char16_t>::length(image));
    EXPECT_EQ(GetLastError(), error);
  }

  vela::testing::ScopedTerminalRoot root_;
};

TEST_F(ProcessTest, ProgramsThatCannotStartFailWithThePlatformsCodes) {
  ExpectFailure(u"\\Windows\\missing.exe", ERROR_FILE_NOT_FOUND);
  ExpectFailure(u"missing", ERROR_FILE_NOT_FOUND);
  ExpectFailure(u"\\NoFolder\\app.exe", ERROR_PATH_NOT_FOUND);
  root_.WriteBytes("Windows/notes.exe", "plain text, not a program");
  ExpectFailure(u"\\Windows\\notes.exe", ERROR_BAD_EXE_FORMAT);
  WriteProgram("Windows/locked.exe", "exit 0\n");
  chmod(root_.Host("Windows/locked.exe").c_str(), 0644);
  ExpectFailure(u"\\Windows\\locked.exe", ERROR_ACCESS_DENIED);
  root_.MakeFolder("Windows/folder.exe");
  ExpectFailure(u"\\Windows\\folder.exe", ERROR_ACCESS_DENIED);
  PROCESS_INFORMATION info{};
  SetLastError(0);
  std::u16string folder = u"\\Temp";
  EXPECT_FALSE(CreateProcessW(u"x.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.data(), nullptr, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));  // no current folder on the terminal
  EXPECT_TRUE(vela::terminal::Get().GetRecords().processStarts.empty());
}

TEST_F(ProcessTest, AChildGetsItsCommandLineAndTheRootAndItsExitCodeComesBack) {
  WriteProgram("Windows/Child.exe",
               "printf '%s|%s' \"$VELA_COMMAND_LINE\" \"$1\" > \"$VELA_ROOT/Temp/seen.txt\"\nexit 7\n");
  PROCESS_INFORMATION info{};
  // A bare name without extension is looked for as \Windows\<name>.exe, without regard to case.
  ASSERT_TRUE(Start(u"child", u"\"a b\" c", info)) << GetLastError();
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(info.hThread, 0), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(root_.ReadBytes("Temp/seen.txt"), "\"a b\" c|a b");
  EXPECT_TRUE(CloseHandle(info.hThread));
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_FAILED);

  const auto starts = vela::terminal::Get().GetRecords().processStarts;
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].imageName, u"child");
  EXPECT_EQ(starts[0].commandLine, u"\"a b\" c");
  EXPECT_EQ(starts[0].processId, static_cast<int>(info.dwProcessId));
}

TEST_F(ProcessTest, ARunningProcessIsStillActiveAndAWaitTimesOutOnThePlatformClock) {
  WriteProgram("Windows/wait.exe", "exec sleep 30\n");
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(Start(u"\\Windows\\wait.exe", nullptr, info));
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  vela::clock::UseManual(SYSTEMTIME{2026, 12, 0, 7, 9, 0, 0, 0});
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  // The clock moves in steps until the wait is over, however late the wait starts.
  std::atomic<bool> waited{false};
  std::thread advance([&] {
    while (!waited) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      vela::clock::Advance(std::chrono::milliseconds(100));
    }
  });
  const std::uint64_t before = vela::clock::Tick();
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 500), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(vela::clock::Tick() - before, 500u);
  waited = true;
  advance.join();
  EXPECT_TRUE(TerminateProcess(info.hProcess, 42));
  vela::clock::UseHost();
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 42u);
  SetLastError(0);
  EXPECT_FALSE(TerminateProcess(info.hProcess, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

TEST_F(ProcessTest, ShellExecuteRecordsTheRequestAndStartsTheProgram) {
  WriteProgram("Windows/Show.exe", "exit 3\n");
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = reinterpret_cast<HWND>(uintptr_t{0x1234});
  info.lpFile = u"\\Windows\\Show.exe";
  info.lpParameters = u"page,5";
  info.nShow = 1;
  ASSERT_TRUE(ShellExecuteEx(&info)) << GetLastError();
  EXPECT_GT(reinterpret_cast<uintptr_t>(info.hInstApp), 32u);
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  EXPECT_EQ(code, 3u);
  CloseHandle(info.hProcess);

  const auto requests = vela::terminal::Get().GetRecords().shellExecutes;
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].file, u"\\Windows\\Show.exe");
  EXPECT_EQ(requests[0].parameters, u"page,5");
  EXPECT_EQ(requests[0].verb, u"");
  EXPECT_EQ(requests[0].show, 1);
  EXPECT_EQ(requests[0].window, 0x1234u);
}

TEST_F(ProcessTest, ShellExecuteFailuresSetTheErrorAndHInstApp) {
  const auto run = [](LPCWSTR file, DWORD error, UINT_PTR instApp) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = file;
    SetLastError(0);
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(GetLastError(), error);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.hInstApp), instApp);
    EXPECT_EQ(info.hProcess, nullptr);
  };
  run(u"\\Windows\\gone.exe", ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
  run(u"\\Gone\\app.exe", ERROR_PATH_NOT_FOUND, SE_ERR_PNF);
  root_.WriteBytes("Temp/readme.txt", "text");
  run(u"\\Temp\\readme.txt", 1155, SE_ERR_NOASSOC);
  // Failed requests are recorded too: the simulator shows what the kit asked for.
  EXPECT_EQ(vela::terminal::Get().GetRecords().shellExecutes.size(), 3u);

  SHELLEXECUTEINFO wrongSize{};
  wrongSize.cbSize = sizeof wrongSize - 1;
  SetLastError(0);
  EXPECT_FALSE(ShellExecuteEx(&wrongSize));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
