// VelaFW: the application framework of the kit.
#pragma once

#include <VelaSys.h>

#include "VLFWMenuSpec.h"
#include "VLFWAppBase.h"
#include "VLFWApp.h"
