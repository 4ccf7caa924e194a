// Corvel WLAN radio switch and device name.
#include <Corvel.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <algorithm>

namespace {

DWORD SetRadio(bool on) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { s.network.wlanOn = on; });
  return 1;
}

constexpr DWORD kStorageVolumeName = 4;
constexpr size_t kNameCapacity = 128;  // characters, the NUL included

}  // namespace

extern "C" {

DWORD SysEnableWLAN(void) { return SetRadio(true); }
DWORD SysDisableWLAN(void) { return SetRadio(false); }
DWORD SysGetWLAN(void) { return vela::terminal::Get().Get().network.wlanOn ? 0 : 1; }

DWORD SysGetSystemName(DWORD kind, LPWSTR buffer) {
  if (!buffer) {
    return 0;
  }
  if (kind != kStorageVolumeName) {
    buffer[0] = 0;
    return 0;
  }
  std::u16string name = vela::Utf8ToUtf16(vela::terminal::Get().Get().identity.systemName);
  size_t length = std::min(name.size(), kNameCapacity - 1);
  if (length > 0 && length < name.size() && name[length - 1] >= 0xD800 && name[length - 1] < 0xDC00) {
    --length;  // never leave half a surrogate pair behind
  }
  std::copy_n(name.begin(), length, buffer);
  buffer[length] = 0;
  return 1;
}

}  // extern "C"
