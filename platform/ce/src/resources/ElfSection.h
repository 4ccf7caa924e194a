// Reading one section of an ELF file from disk, so that resources can be read from a module
// that is not loaded.
#pragma once

#include <wintypes.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vela::resources {

// The bytes of the named section. On failure returns false with *error set:
// ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_BAD_FORMAT (not an ELF file) or
// ERROR_RESOURCE_DATA_NOT_FOUND (no such section).
bool ReadElfSection(const std::string& hostPath, const char* sectionName,
                    std::vector<uint8_t>* bytes, DWORD* error);

}  // namespace vela::resources
