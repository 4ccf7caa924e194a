// The NDIS user-mode I/O driver's notification requests, kept per queue for as long as the
// queue is read (see IOCTL_NDISUIO_REQUEST_NOTIFICATION in winioctl.h).
#pragma once

#include <windows.h>

namespace vela::devices {

// Registers, replaces (same queue) or, with mask 0, ends the queue's request. FALSE with the
// last error when the queue cannot be written to.
BOOL RequestNdisNotifications(HANDLE callerQueue, DWORD mask);

}  // namespace vela::devices
