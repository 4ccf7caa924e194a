// Lays the compiled resources out in the form the platform reads (ResourceFormat.h).
#pragma once

#include <cstdint>
#include <vector>

#include "Resource.h"

namespace vela::rc {

std::vector<uint8_t> WriteResourceBlob(std::vector<Resource> resources);

}  // namespace vela::rc
