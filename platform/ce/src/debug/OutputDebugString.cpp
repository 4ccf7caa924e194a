#include <winbase.h>
#include <vela/Utf.h>

#include <cerrno>

#include "debug/DebugChannel.h"

void OutputDebugStringW(LPCWSTR lpOutputString) {
  if (!lpOutputString) {
    return;
  }
  const int savedErrno = errno;
  vela::debug::WriteDebugChannel(vela::Utf16ToUtf8(lpOutputString));
  errno = savedErrno;
}
