// The built-in "winsock.dll": start-up, clean-up and the terminal's host name. Sockets
// themselves are not needed by the kit.
#include <vela/Modules.h>
#include <vela/TerminalIdentity.h>
#include <vela/WinsockFaults.h>
#include <winerror.h>
#include <winsock.h>

#include <atomic>
#include <cstring>
#include <mutex>

#include "modules/AnsiText.h"

namespace {

std::atomic<int> g_startups{0};
std::mutex g_faultsMutex;
vela::WinsockFaults g_faults;

vela::WinsockFaults Faults() {
  std::lock_guard lock(g_faultsMutex);
  return g_faults;
}

void CopyText(char* out, size_t size, const char* text) {
  std::strncpy(out, text, size - 1);
  out[size - 1] = '\0';
}

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
  if (const int error = Faults().startupError) {
    return error;
  }
  const BYTE major = LOBYTE(wVersionRequested);
  const BYTE minor = HIBYTE(wVersionRequested);
  if (major < 1 || (major == 1 && minor < 1)) {
    return WSAVERNOTSUPPORTED;
  }
  if (!lpWSAData) {
    return WSAEFAULT;
  }
  std::memset(lpWSAData, 0, sizeof *lpWSAData);
  // Up to 2.2 is offered; a higher request is answered with 2.2.
  lpWSAData->wVersion = (major > 2 || (major == 2 && minor > 2)) ? MAKEWORD(2, 2) : wVersionRequested;
  lpWSAData->wHighVersion = MAKEWORD(2, 2);
  CopyText(lpWSAData->szDescription, sizeof lpWSAData->szDescription, "WinSock 2.2");
  CopyText(lpWSAData->szSystemStatus, sizeof lpWSAData->szSystemStatus, "Running");
  lpWSAData->iMaxSockets = 100;
  lpWSAData->iMaxUdpDg = 65467;
  ++g_startups;
  return 0;
}

int WSACleanup() {
  int count = g_startups.load();
  while (count > 0 && !g_startups.compare_exchange_weak(count, count - 1)) {
  }
  if (count <= 0) {
    SetLastError(WSANOTINITIALISED);
    return SOCKET_ERROR;
  }
  return 0;
}

int WSAGetLastError() { return static_cast<int>(GetLastError()); }

// The name in the ANSI code page, terminated; WSAEFAULT when namelen cannot hold it all.
int gethostname(char* name, int namelen) {
  if (g_startups.load() <= 0) {
    SetLastError(WSANOTINITIALISED);
    return SOCKET_ERROR;
  }
  if (const int error = Faults().hostNameError) {
    SetLastError(static_cast<DWORD>(error));
    return SOCKET_ERROR;
  }
  const std::string ansi = vela::modules::WideToAnsi(vela::TerminalHostName());
  if (!name || namelen <= 0 || ansi.size() >= static_cast<size_t>(namelen)) {
    SetLastError(WSAEFAULT);
    return SOCKET_ERROR;
  }
  std::memcpy(name, ansi.c_str(), ansi.size() + 1);
  return 0;
}

const vela::BuiltinModuleRegistration kWinsock(
    u"winsock.dll", {{"WSAStartup", vela::ExportedFunction(&WSAStartup)},
                     {"WSACleanup", vela::ExportedFunction(&WSACleanup)},
                     {"WSAGetLastError", vela::ExportedFunction(&WSAGetLastError)},
                     {"gethostname", vela::ExportedFunction(&gethostname)}});

}  // namespace

namespace vela {

void SetWinsockFaults(const WinsockFaults& faults) {
  std::lock_guard lock(g_faultsMutex);
  g_faults = faults;
}

void ResetWinsockFaults() { SetWinsockFaults(WinsockFaults{}); }

}  // namespace vela
