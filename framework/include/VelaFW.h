// VelaFW: the application framework of the kit.
#pragma once

#include <VelaSys.h>

#include "VLFWMenuSpec.h"
