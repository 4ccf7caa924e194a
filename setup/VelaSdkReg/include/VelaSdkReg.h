// VelaSdkReg: self-registration of the kit with the desktop's development tools. Registering
// adds the kit's Include and library directories (beside this library) to the device platforms'
// and the desktop platform's directory lists; unregistering takes them out again.
#pragma once

#include <windows.h>

extern "C" {

HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
}
