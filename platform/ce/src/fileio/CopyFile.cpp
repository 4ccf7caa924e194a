// CopyFileW through the file functions themselves, so both ends honour share modes.
#include <fileapi.h>
#include <handleapi.h>

#include <vector>

namespace {

// Closes a handle at the end of a scope without disturbing the last error.
class HandleCloser {
 public:
  explicit HandleCloser(HANDLE handle) : handle_(handle) {}
  ~HandleCloser() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      CloseHandle(handle_);
      SetLastError(error);
    }
  }
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
  const DWORD attributes = GetFileAttributesW(lpExistingFileName);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return FALSE;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  HANDLE source = CreateFileW(lpExistingFileName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (source == INVALID_HANDLE_VALUE) {
    return FALSE;
  }
  HandleCloser closeSource(source);
  HANDLE target = CreateFileW(lpNewFileName, GENERIC_WRITE, 0, nullptr,
                              bFailIfExists ? CREATE_NEW : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (target == INVALID_HANDLE_VALUE) {
    return FALSE;
  }
  {
    HandleCloser closeTarget(target);
    std::vector<char> buffer(64 * 1024);
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
        return FALSE;
      }
      if (got == 0) {
        break;
      }
      DWORD put = 0;
      if (!WriteFile(target, buffer.data(), got, &put, nullptr)) {
        return FALSE;
      }
    }
  }
  // The copy carries the source's read-only attribute, as on the platform.
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    return SetFileAttributesW(lpNewFileName, FILE_ATTRIBUTE_READONLY);
  }
  return TRUE;
}
