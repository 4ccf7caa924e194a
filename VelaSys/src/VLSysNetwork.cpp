#include "VLSysNetwork.h"

#include <winioctl.h>

#include <cstring>

#include "CorvelModule.h"
#include "ShellStart.h"
#include "UsableAdapter.h"

namespace {

// Strength in percent: each dBm between -90 and -40 is worth 2 percent. The sum is taken as
// an unsigned 16-bit number, so anything below -90 dBm wraps far above 1000 and counts as 0.
WORD StrengthPercent(LONG dbm) {
    const WORD v = static_cast<WORD>(2u * static_cast<DWORD>(dbm) + 180u);
    if (v > 1000) return 0;
    if (v > 100) return 100;
    return v;
}

}  // namespace

CVLNdisHandle::CVLNdisHandle()
    : m_hNdis(CreateFile(u"UIO1:", 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED,
                         INVALID_HANDLE_VALUE)) {}

CVLNdisHandle::~CVLNdisHandle() {
    if (m_hNdis != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hNdis);
        m_hNdis = INVALID_HANDLE_VALUE;
    }
}

CVLNdisHandle::operator HANDLE() const { return m_hNdis; }

CVLSysNetwork::CVLSysNetwork() { m_nAppletIndex = 101; }

BOOL CVLSysNetwork::IsConnected() { return !GetIPAddress().IsEmpty(); }

CString CVLSysNetwork::GetIPAddress() { return velasys::UsableAdapter(velasys::AdapterField::Address); }

WORD CVLSysNetwork::GetStrength() {
    const CVLNdisHandle driver;
    if (static_cast<HANDLE>(driver) == INVALID_HANDLE_VALUE) return 0;
    DWORD raw = 0;
    if (!GetStrength(driver, &raw)) return 0;
    return StrengthPercent(static_cast<LONG>(raw));
}

BOOL CVLSysNetwork::GetStrength(HANDLE driver, DWORD* strength) {
    const CString adapter = velasys::UsableAdapter(velasys::AdapterField::Name);
    // No usable adapter, or one without a name: there is nobody to ask.
    if (adapter.IsEmpty()) return FALSE;

    NDISUIO_QUERY_OID request{};
    request.Oid = OID_802_11_RSSI;
    request.ptcDeviceName = adapter;
    DWORD returned = 0;
    if (!DeviceIoControl(driver, IOCTL_NDISUIO_QUERY_OID_VALUE, &request, sizeof request, &request, sizeof request,
                         &returned, nullptr)) {
        return FALSE;
    }
    LONG dbm = 0;
    std::memcpy(&dbm, request.Data, sizeof dbm);
    *strength = static_cast<DWORD>(dbm);
    return TRUE;
}

void CVLSysNetwork::DisableWLan(BOOL disable) {
    const velasys::CorvelModule corvel;
    auto* enable = corvel.Find<DWORD()>(u"SysEnableWLAN");
    auto* disableRadio = corvel.Find<DWORD()>(u"SysDisableWLAN");
    if (enable == nullptr || disableRadio == nullptr) return;
    disable ? disableRadio() : enable();
}

BOOL CVLSysNetwork::GetWLANDisable() {
    const velasys::CorvelModule corvel;
    auto* get = corvel.Find<DWORD()>(u"SysGetWLAN");
    return get != nullptr ? static_cast<BOOL>(get()) : FALSE;
}

void CVLSysNetwork::ShowProperty(HWND parent) {
    if (!CanShowProperty()) return;
    velasys::StartShellProgram(parent, u"\\Windows\\Lirent.exe", nullptr);
}
