// VelaSys: the system services library of the kit.
#pragma once

#include "VLSysIniFile.h"
#include "VLSysLogFile.h"
#include "VelaSysBase.h"
#include "VLSysLcdManage.h"
#include "VLSysPowerManage.h"
#include "VLSysVolume.h"
#include "VLSysClock.h"
#include "VLSysImeManage.h"
#include "VLSysNetwork.h"
