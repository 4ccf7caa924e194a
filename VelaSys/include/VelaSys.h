// VelaSys: the system services library of the kit.
#pragma once

#include "VLSysIniFile.h"
