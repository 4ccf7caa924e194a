// Device I/O control codes, and the requests of the NDIS user-mode I/O driver ("UIO1:") that
// the kit sends through DeviceIoControl.
#pragma once

#include "wintypes.h"
#include "winerror.h"

#define CTL_CODE(DeviceType, Function, Method, Access) \
  ((static_cast<DWORD>(DeviceType) << 16) | (static_cast<DWORD>(Access) << 14) | \
   (static_cast<DWORD>(Function) << 2) | static_cast<DWORD>(Method))

#define METHOD_BUFFERED 0
#define METHOD_IN_DIRECT 1
#define METHOD_OUT_DIRECT 2
#define METHOD_NEITHER 3

#define FILE_ANY_ACCESS 0
#define FILE_READ_ACCESS 0x0001
#define FILE_WRITE_ACCESS 0x0002

#define FILE_DEVICE_NETWORK 0x00000012

// The NDIS user-mode I/O driver, opened as CreateFile(u"UIO1:", ...).
#define NDISUIO_DEVICE_NAME u"UIO1:"

// Queries one OID of a named adapter (0x120804).
#define IOCTL_NDISUIO_QUERY_OID_VALUE CTL_CODE(FILE_DEVICE_NETWORK, 0x201, METHOD_BUFFERED, FILE_ANY_ACCESS)
// Asks for notifications to a point-to-point message queue (0x12081C).
#define IOCTL_NDISUIO_REQUEST_NOTIFICATION CTL_CODE(FILE_DEVICE_NETWORK, 0x207, METHOD_BUFFERED, FILE_ANY_ACCESS)

// Received signal strength of an 802.11 adapter: a signed 32-bit value in dBm.
#define OID_802_11_RSSI 0x0D010206

typedef ULONG NDIS_OID;

// The query-OID request, sent as input and output buffer of IOCTL_NDISUIO_QUERY_OID_VALUE.
// On the terminal (32-bit) it is 16 bytes: OID at 0, a 4-byte pointer to the adapter name at
// 4, data at 8. A 64-bit pointer does not fit at offset 4, so this layout, shared by the kit
// and the driver, keeps the OID at 0 and the data at 8 and moves the pointer behind the data:
//   offset 0  Oid            the OID (OID_802_11_RSSI)
//   offset 4  Reserved       0
//   offset 8  Data[8]        the answer; for OID_802_11_RSSI a signed 32-bit dBm at 8..11
//   offset 16 ptcDeviceName  NUL-terminated UTF-16 name of the adapter (AdapterName of
//                            GetAdaptersInfo, converted to UTF-16)
// Both buffers must be at least sizeof(NDISUIO_QUERY_OID) (24) bytes, else the call fails
// with ERROR_INSUFFICIENT_BUFFER. An unknown adapter or a NULL name fails with
// ERROR_INVALID_PARAMETER, an OID the adapter does not answer with ERROR_NOT_SUPPORTED.
typedef struct _NDISUIO_QUERY_OID {
  NDIS_OID Oid;
  DWORD Reserved;
  BYTE Data[8];
  const WCHAR* ptcDeviceName;
} NDISUIO_QUERY_OID, *PNDISUIO_QUERY_OID;

static_assert(sizeof(NDISUIO_QUERY_OID) == 24 || sizeof(void*) == 4, "layout shared with the driver");

// Notification kinds of IOCTL_NDISUIO_REQUEST_NOTIFICATION.
#define NDISUIO_NOTIFICATION_RESET_START 0x00000001
#define NDISUIO_NOTIFICATION_RESET_END 0x00000002
#define NDISUIO_NOTIFICATION_MEDIA_SPECIFIC_NOTIFICATION 0x00000004
#define NDISUIO_NOTIFICATION_MEDIA_CONNECT 0x00000008
#define NDISUIO_NOTIFICATION_MEDIA_DISCONNECT 0x00000010
#define NDISUIO_NOTIFICATION_BIND 0x00000020
#define NDISUIO_NOTIFICATION_UNBIND 0x00000040
#define NDISUIO_NOTIFICATION_ADAPTER_ARRIVAL 0x00000080
#define NDISUIO_NOTIFICATION_ADAPTER_REMOVAL 0x00000100

// Input of IOCTL_NDISUIO_REQUEST_NOTIFICATION. The request stays with the queue, not with the
// device handle, so the handle may be closed at once: it lasts until the queue's reader is
// closed, the driver goes away, or another request for the same queue replaces it (a mask of
// 0 ends it). The terminal's 8-byte form of two 32-bit words (queue handle, mask) is taken too.
typedef struct _NDISUIO_REQUEST_NOTIFICATION {
  HANDLE hMsgQueue;
  DWORD dwNotificationTypes;
} NDISUIO_REQUEST_NOTIFICATION, *PNDISUIO_REQUEST_NOTIFICATION;

// dwStatus of a notification.
#define NDIS_STATUS_SUCCESS 0x00000000
#define NDIS_STATUS_MEDIA_CONNECT 0x4001000B
#define NDIS_STATUS_MEDIA_DISCONNECT 0x4001000C
#define NDIS_STATUS_MEDIA_SPECIFIC_INDICATION 0x40010012

// One notification as the driver writes it into the queue: always the whole 532 bytes.
//   MEDIA_CONNECT      an adapter got an address, or a connected adapter a new one
//   MEDIA_DISCONNECT   an adapter lost its address (or went while it had one)
//   ADAPTER_ARRIVAL    an adapter appeared (followed by MEDIA_CONNECT when it has an address)
//   ADAPTER_REMOVAL    an adapter went (after its MEDIA_DISCONNECT)
//   MEDIA_SPECIFIC_NOTIFICATION  a radio's signal appeared or was lost
// Each goes to the queues whose mask has its bit.
typedef struct _NDISUIO_DEVICE_NOTIFICATION {
  DWORD dwNotificationType;  // NDISUIO_NOTIFICATION_*
  DWORD dwStatus;            // NDIS_STATUS_*
  DWORD uiStatusBufferSize;  // 0: no status buffer follows
  DWORD dwReserved;
  WCHAR ptcDeviceName[258];  // the adapter's name (AdapterName of GetAdaptersInfo), NUL-terminated
} NDISUIO_DEVICE_NOTIFICATION, *PNDISUIO_DEVICE_NOTIFICATION;

static_assert(sizeof(NDISUIO_DEVICE_NOTIFICATION) == 532, "the size readers allow for");
