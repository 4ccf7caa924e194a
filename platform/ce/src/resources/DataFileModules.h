// LoadLibraryEx with LOAD_LIBRARY_AS_DATAFILE: a module file's resources without its code.
// The handle has its lowest bit set, as the platform's data file handles do, so it is never
// mistaken for a loaded image.
#pragma once

#include <libloaderapi.h>

#include <string>

namespace vela::resources {

// Sets the last error and returns NULL when the file is no module.
HMODULE OpenDataFileModule(const std::string& hostPath);
// False when module is no data file handle.
bool CloseDataFileModule(HMODULE module);

}  // namespace vela::resources
