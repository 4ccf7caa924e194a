#include <windows.h>
#include <winsock.h>

#include "BaseInfo.h"
#include "ProcAddress.h"
#include "Gather.h"

namespace tarn {

bool GatherHostName() {
    HMODULE winsock = LoadLibraryW(u"winsock.dll");
    if (winsock == nullptr) return false;
    auto startup = ProcAddress<LPFN_WSASTARTUP>(winsock, u"WSAStartup");
    auto cleanup = ProcAddress<LPFN_WSACLEANUP>(winsock, u"WSACleanup");
    auto gethost = ProcAddress<LPFN_GETHOSTNAME>(winsock, u"gethostname");

    char host[260] = {};
    bool got = false;
    if (startup != nullptr && gethost != nullptr) {
        WSADATA data;
        if (startup(MAKEWORD(1, 1), &data) == 0) {
            got = gethost(host, sizeof host) == 0;
            if (cleanup != nullptr) cleanup();
        }
    }
    FreeLibrary(winsock);
    if (!got) return false;

    // A name of 259 bytes or fewer gives at most 259 characters: it always fits the field.
    host[sizeof host - 1] = 0;
    WCHAR address[kFieldCapacity];
    if (MultiByteToWideChar(CP_ACP, 0, host, -1, address, static_cast<int>(kFieldCapacity)) == 0) return false;
    CopyField(g_base.address, address);
    return true;
}

}  // namespace tarn
