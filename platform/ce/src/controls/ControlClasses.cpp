// Registers STATIC, BUTTON and EDIT as global classes when the window manager first needs
// classes. BUTTON has CS_DBLCLKS as on the platform; an application that wants two quick
// taps to be two clicks clears it with SetClassLong(GCL_STYLE).
#include "controls/ControlProcs.h"
#include "user/SystemClasses.h"

namespace vela::controls {
namespace {

void Register(LPCWSTR name, WNDPROC proc, UINT style) {
  WNDCLASSW wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

void RegisterControlClasses() {
  Register(u"STATIC", StaticWndProc, 0);
  Register(u"BUTTON", ButtonWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  Register(u"EDIT", EditWndProc, CS_DBLCLKS);
}

const vela::user::SystemClassRegistration registration(RegisterControlClasses);

}  // namespace
}  // namespace vela::controls
