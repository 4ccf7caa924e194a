// Share modes across threads and processes, kept as open-file-description locks on a few
// bytes far beyond any real data. Each open holds shared locks on the bytes that say what it
// does: "has read access", "has write access", "denies read", "denies write". An open looks
// for locks of others on the bytes that conflict with it. The locks belong to the descriptor,
// so they go when it is closed or its process dies, and they never touch real data ranges.
#pragma once

#include <wintypes.h>

namespace vela::fileio {

// Registers an open of fd (O_RDWR when writable, else O_RDONLY) with the given access and
// share mode. Returns ERROR_SUCCESS or ERROR_SHARING_VIOLATION. An open with neither read nor
// write access takes part in nothing, as on the platform.
DWORD AcquireShareLocks(int fd, bool read, bool write, DWORD shareMode, bool writableFd);

}  // namespace vela::fileio
