// The simulator's stand-in for one of the terminal's own settings programs (the control
// panel, the backlight and the WLAN settings). It reports which page was asked for, on
// standard output and the debug channel, and ends; the simulator window shows the page.
#include <processthreadsapi.h>
#include <winbase.h>
#include <vela/Utf.h>

#include <cstdio>
#include <string>

int main() {
  const std::u16string line = std::u16string(VELA_PROGRAM_NAME) + u": " +
                              (*GetCommandLineW() ? GetCommandLineW() : u"(main page)");
  OutputDebugStringW((line + u"\n").c_str());
  std::printf("%s\n", vela::Utf16ToUtf8(line).c_str());
  return 0;
}
