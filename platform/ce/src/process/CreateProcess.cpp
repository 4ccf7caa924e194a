// CreateProcessW, GetExitCodeProcess and TerminateProcess over host processes.
#include <processthreadsapi.h>
#include <vela/Clock.h>
#include <vela/Terminal.h>
#include <vela/TerminalFileSystem.h>
#include <vela/Utf.h>

#include <spawn.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "kernel/HandleTable.h"
#include "process/CommandLine.h"
#include "process/ProcessObject.h"
#include "process/ProgramFile.h"

extern char** environ;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool StartsWith(const char* entry, std::string_view name) {
  return std::strncmp(entry, name.data(), name.size()) == 0 && entry[name.size()] == '=';
}

// Set for the child below, or belonging to this run alone: a child must not play this
// process's script, write its recording or screenshots, nor start from its starting state.
constexpr std::string_view kNotInherited[] = {
    "VELA_ROOT",       "VELA_CLOCK",      "VELA_SCRIPT", "VELA_SHOTS", "VELA_SCRIPT_ECHO",
    "VELA_RECORD",     "VELA_FINAL_SHOT", vela::terminal::kStateVariable,
    vela::process::kCommandLineVariable,
};

// "manual:YYYY-MM-DDTHH:MM:SS" at this process's terminal time, so a child's log lines follow
// on from the parent's in a replay.
std::string ManualClockSetting() {
  const SYSTEMTIME now = vela::clock::ToSystemTime(vela::clock::UtcNow());
  char text[48];
  std::snprintf(text, sizeof text, "manual:%04u-%02u-%02uT%02u:%02u:%02u", unsigned{now.wYear}, unsigned{now.wMonth},
                unsigned{now.wDay}, unsigned{now.wHour}, unsigned{now.wMinute}, unsigned{now.wSecond});
  return text;
}

// The caller's environment with the terminal's root made explicit (a default root too), the
// child's own command line, and the terminal as it is now, so that the child continues it.
std::vector<std::string> ChildEnvironment(const std::string& commandLine) {
  std::vector<std::string> entries;
  for (char** entry = environ; entry && *entry; ++entry) {
    const bool kept = std::none_of(std::begin(kNotInherited), std::end(kNotInherited),
                                   [entry](std::string_view name) { return StartsWith(*entry, name); });
    if (kept) {
      entries.emplace_back(*entry);
    }
  }
  entries.push_back("VELA_ROOT=" + vela::TerminalRoot());
  entries.push_back(std::string(vela::process::kCommandLineVariable) + "=" + commandLine);
  if (vela::clock::IsManual()) {
    entries.push_back("VELA_CLOCK=" + ManualClockSetting());
  }
  entries.push_back(std::string(vela::terminal::kStateVariable) + "=" +
                    vela::terminal::StateText(vela::terminal::Get().Get()));
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) {
    pointers.push_back(text.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

BOOL CreateProcessW(LPCWSTR pszImageName, LPWSTR pszCmdLine, LPSECURITY_ATTRIBUTES psaProcess,
                    LPSECURITY_ATTRIBUTES psaThread, BOOL fInheritHandles, DWORD fdwCreate,
                    LPVOID pvEnvironment, LPWSTR pszCurDir, LPSTARTUPINFOW psiStartInfo,
                    LPPROCESS_INFORMATION pProcInfo) {
  // The terminal supports none of these; it has no current folder either.
  if (!pszImageName || psaProcess || psaThread || fInheritHandles || pvEnvironment || pszCurDir) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  constexpr DWORD kCreateSuspended = 0x00000004;
  if (fdwCreate & kCreateSuspended) {
    return Fail(ERROR_NOT_SUPPORTED);
  }
  std::string hostPath;
  if (const DWORD error = vela::process::LocateProgram(pszImageName, hostPath); error != ERROR_SUCCESS) {
    return Fail(error);
  }
  const std::u16string commandLine = pszCmdLine ? std::u16string(pszCmdLine) : std::u16string();
  const std::string commandLineUtf8 = vela::Utf16ToUtf8(commandLine);

  std::vector<std::string> arguments = vela::process::SplitCommandLine(commandLineUtf8);
  arguments.insert(arguments.begin(), hostPath);
  std::vector<std::string> environment = ChildEnvironment(commandLineUtf8);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);

  pid_t pid = 0;
  const int spawnError = posix_spawn(&pid, hostPath.c_str(), nullptr, nullptr, argv.data(), envp.data());
  if (spawnError != 0) {
    return Fail(spawnError == ENOEXEC ? ERROR_BAD_EXE_FORMAT
                : spawnError == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY
                : spawnError == ENOENT ? ERROR_FILE_NOT_FOUND
                                       : ERROR_ACCESS_DENIED);
  }
  std::shared_ptr<vela::process::ProcessObject> process = vela::process::ProcessObject::Watch(pid);
  vela::terminal::Get().RecordProcessStart(
      {.hostPath = hostPath, .imageName = pszImageName, .commandLine = commandLine, .processId = pid});

  if (pProcInfo) {
    // The primary thread's handle names the same object: it ends when the process does.
    HANDLE hProcess = vela::kernel::InsertHandle(process);
    HANDLE hThread = hProcess ? vela::kernel::InsertHandle(process) : nullptr;
    if (!hThread) {
      if (hProcess) {
        vela::kernel::RemoveHandle(hProcess);
      }
      return Fail(ERROR_TOO_MANY_OPEN_FILES);  // the process runs on, as after a later failure
    }
    pProcInfo->hProcess = hProcess;
    pProcInfo->hThread = hThread;
    pProcInfo->dwProcessId = static_cast<DWORD>(pid);
    pProcInfo->dwThreadId = static_cast<DWORD>(pid);  // the host's main thread id is the pid
  }
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
  auto process = vela::kernel::LookupHandleAs<vela::process::ProcessObject>(hProcess);
  if (!process) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (!lpExitCode) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  *lpExitCode = process->ExitCode();
  return TRUE;
}

BOOL TerminateProcess(HANDLE hProcess, DWORD uExitCode) {
  auto process = vela::kernel::LookupHandleAs<vela::process::ProcessObject>(hProcess);
  if (!process) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (!process->Terminate(uExitCode)) {
    return Fail(ERROR_ACCESS_DENIED);  // it has ended already
  }
  return TRUE;
}
