// VelaNotify: the status icon windows of the kit.
#pragma once

#include "VelaNotifyBase.h"
#include "VLNfNetNotify.h"
#include "VLNfNetIconWnd.h"
#include "VLNfBatteryNotify.h"
#include "VLNfBatteryIconWnd.h"
#include "VLNfIMEIconWnd.h"
#include "VLNfKeyIconWnd.h"
#include "VLNfClockWnd.h"
#include "VLNfNotifyWnd.h"
