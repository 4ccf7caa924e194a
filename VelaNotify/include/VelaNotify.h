// VelaNotify: the status icon windows of the kit.
#pragma once

#include "VelaNotifyBase.h"
#include "VLNfIMEIconWnd.h"
#include "VLNfKeyIconWnd.h"
#include "VLNfClockWnd.h"
#include "VLNfNotifyWnd.h"
