// The socket library "winsock.dll" as the kit reaches it: loaded by name, its functions looked
// up with GetProcAddress. The typedefs let callers declare those function pointers.
#pragma once

#include "wintypes.h"

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

typedef struct WSAData {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
} WSADATA;
typedef WSADATA* LPWSADATA;

#define SOCKET_ERROR (-1)

#define WSABASEERR 10000
#define WSAEFAULT (WSABASEERR + 14)
#define WSAEINVAL (WSABASEERR + 22)
#define WSAEPROCLIM (WSABASEERR + 67)
#define WSASYSNOTREADY (WSABASEERR + 91)
#define WSAVERNOTSUPPORTED (WSABASEERR + 92)
#define WSANOTINITIALISED (WSABASEERR + 93)
#define WSAEINPROGRESS (WSABASEERR + 36)
#define WSAENETDOWN (WSABASEERR + 50)

typedef int (*LPFN_WSASTARTUP)(WORD wVersionRequested, LPWSADATA lpWSAData);
typedef int (*LPFN_WSACLEANUP)();
typedef int (*LPFN_GETHOSTNAME)(char* name, int namelen);
typedef int (*LPFN_WSAGETLASTERROR)();
