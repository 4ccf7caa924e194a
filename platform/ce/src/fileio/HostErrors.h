// The platform's error codes for failures of host file calls.
#pragma once

#include <wintypes.h>

#include <string>

namespace vela::fileio {

// The code for errno after a call on hostPath failed. A missing entry is ERROR_FILE_NOT_FOUND
// when its folder exists and ERROR_PATH_NOT_FOUND when the folder does not.
DWORD ErrorFromErrno(int error, const std::string& hostPath);

// Sets the last error from errno for hostPath; returns FALSE for the caller to pass on.
BOOL FailFromErrno(const std::string& hostPath);

}  // namespace vela::fileio
