// A desktop program on the stand-in: the desktop's registry and folder, and message boxes where
// a person sees them.
#include <vela/DesktopSide.h>
#include <vela/Registry.h>

#include <cstdlib>
#include <string>

namespace vela {

void EnterDesktopSide() {
  SelectRegistry(RegistrySide::Desktop);
  // The file functions and CreateProcess take "\" from VELA_ROOT on every call.
  const std::string root = DesktopRoot();
  setenv("VELA_ROOT", root.c_str(), 1);
  const char* script = std::getenv("VELA_SCRIPT");
  ShowMessageBoxesOnStandardError(!script || !*script);
}

}  // namespace vela
