// ShellExecuteEx: the request is recorded on the simulated terminal, then the program starts
// as CreateProcess would start it. The terminal's shell opens documents by association; the
// simulator knows none, so only programs open.
#include <shellapi.h>
#include <processthreadsapi.h>
#include <handleapi.h>
#include <wincrt.h>
#include <vela/Terminal.h>

#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155L
#endif

namespace {

std::u16string Text(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

// hInstApp after a failure: the shell's SE_ERR_* codes, which the low error numbers share.
HINSTANCE ShellError(DWORD error) {
  UINT_PTR code;
  switch (error) {
    case ERROR_FILE_NOT_FOUND: code = SE_ERR_FNF; break;
    case ERROR_PATH_NOT_FOUND: code = SE_ERR_PNF; break;
    case ERROR_ACCESS_DENIED: code = SE_ERR_ACCESSDENIED; break;
    case ERROR_NOT_ENOUGH_MEMORY: code = SE_ERR_OOM; break;
    case ERROR_NO_ASSOCIATION: code = SE_ERR_NOASSOC; break;
    case ERROR_BAD_EXE_FORMAT: code = ERROR_BAD_FORMAT; break;
    default: code = SE_ERR_NOASSOC; break;
  }
  return reinterpret_cast<HINSTANCE>(code);
}

bool EndsWithExe(const std::u16string& file) {
  return file.size() >= 4 && _wcsicmp(file.c_str() + file.size() - 4, u".exe") == 0;
}

}  // namespace

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo) {
  if (!lpExecInfo || lpExecInfo->cbSize != sizeof(SHELLEXECUTEINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SHELLEXECUTEINFO& info = *lpExecInfo;
  const std::u16string file = Text(info.lpFile);
  vela::terminal::Get().RecordShellExecute({.file = file,
                                            .parameters = Text(info.lpParameters),
                                            .verb = Text(info.lpVerb),
                                            .directory = Text(info.lpDirectory),
                                            .show = info.nShow,
                                            .window = reinterpret_cast<std::uintptr_t>(info.hwnd),
                                            .mask = info.fMask});
  info.hProcess = nullptr;
  std::u16string parameters = Text(info.lpParameters);
  PROCESS_INFORMATION process{};
  if (file.empty() ||
      !CreateProcessW(file.c_str(), parameters.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                      &process)) {
    DWORD error = file.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
    if (error == ERROR_BAD_EXE_FORMAT && !EndsWithExe(file)) {
      error = ERROR_NO_ASSOCIATION;  // a document, and no program is registered to open it
    }
    info.hInstApp = ShellError(error);
    SetLastError(error);
    return FALSE;
  }
  CloseHandle(process.hThread);
  if (info.fMask & SEE_MASK_NOCLOSEPROCESS) {
    info.hProcess = process.hProcess;
  } else {
    CloseHandle(process.hProcess);
  }
  info.hInstApp = reinterpret_cast<HINSTANCE>(UINT_PTR{42});  // above 32: success
  return TRUE;
}
