// The two self-registration entry points. Both always answer S_OK: a missing tool or a list
// that cannot be changed is no reason to fail the kit's installation.
#include "VelaSdkReg.h"

#include <afxwin.h>
#include <vela/Modules.h>

#include "SdkRegistrar.h"

namespace {

HRESULT Run(velasdkreg::ListEdit edit) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  velasdkreg::CVelaSdkRegistrar registrar;
  // Without its own folder the library has nothing to add or remove.
  if (!registrar.FillKitRoot(VELA_THIS_MODULE())) return S_OK;
  registrar.EditDevicePlatforms(edit);
  registrar.EditDesktopPlatform(edit);
  return S_OK;
}

}  // namespace

extern "C" {

HRESULT DllRegisterServer() { return Run(velasdkreg::ListEdit::Add); }

HRESULT DllUnregisterServer() { return Run(velasdkreg::ListEdit::Remove); }
}
