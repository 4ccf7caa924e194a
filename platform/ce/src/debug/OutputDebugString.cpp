#include <winbase.h>
#include <vela/Utf.h>

#include <cerrno>

#include "debug/DebugChannel.h"

void OutputDebugStringW(LPCWSTR lpOutputString) {
  // Debug builds trace a great deal; with the channel off none of it is converted.
  if (!lpOutputString || vela::debug::DebugChannelDiscards()) {
    return;
  }
  const int savedErrno = errno;
  vela::debug::WriteDebugChannel(vela::Utf16ToUtf8(lpOutputString));
  errno = savedErrno;
}
