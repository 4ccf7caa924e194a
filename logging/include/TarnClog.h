// The logging library TarnClog.
#pragma once

#include "TarnClogApi.h"
