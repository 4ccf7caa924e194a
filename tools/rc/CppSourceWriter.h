// The C++ source that carries a module's compiled resources: the blob in the ".vela_rsrc"
// section (so the file's version information can be read without loading it) and a
// registration that makes it reachable through the module's handle once loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vela::rc {

std::string WriteCppSource(const std::vector<uint8_t>& blob, const std::string& scriptName);

}  // namespace vela::rc
