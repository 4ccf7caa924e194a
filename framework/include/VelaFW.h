// VelaFW: the application framework of the kit.
#pragma once

#include <VelaSys.h>

#include "VLFWMenuSpec.h"
#include "VLFWAppBase.h"
#include "VLFWApp.h"
#include "VelaFWBase.h"
#include "VLFWMainFrame.h"
#include "VLFWDialog.h"
#include "VLFWMenuButton.h"
#include "VLFWMenuDialog.h"
