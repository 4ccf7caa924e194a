#include "VelaFWBase.h"

#include <afxwin.h>
#include <dbt.h>

#include <cstddef>
#include <string_view>

#include "VLFWShared.h"
#include "VelaFWBaseWaitStart.h"

namespace {

void ClearDeviceNames() {
    VLFWDeviceName(1)[0] = 0;
    VLFWDeviceName(2)[0] = 0;
}

// The port name of a broadcast record, read only within the size the record gives, so a short
// or unterminated record is never read past its end. Null when there is no terminated name.
LPCWSTR PortName(const DEV_BROADCAST_HDR* header) {
    constexpr DWORD kNameOffset = offsetof(DEV_BROADCAST_PORT, dbcp_name);
    if (header->dbch_size < kNameOffset + sizeof(WCHAR)) return nullptr;
    const auto* port = reinterpret_cast<const DEV_BROADCAST_PORT*>(header);
    const DWORD capacity = (header->dbch_size - kNameOffset) / sizeof(WCHAR);
    for (DWORD i = 0; i < capacity; ++i) {
        if (port->dbcp_name[i] == 0) return port->dbcp_name;
    }
    return nullptr;
}

bool SameName(LPCWSTR a, LPCWSTR b) { return std::u16string_view(a) == std::u16string_view(b); }

}  // namespace

CVelaFWBase::CVelaFWBase() { ClearDeviceNames(); }

CVelaFWBase::CVelaFWBase(const CVelaFWBase& other) : CVLNfNetNotify(other) {}

CVelaFWBase& CVelaFWBase::operator=(const CVelaFWBase& other) {
    CVLNfNetNotify::operator=(other);
    return *this;
}

// A running notifier thread stops here at the latest, before it could call into the base of a
// window being destroyed; a class that launched it stops it in its own destructor or OnDestroy.
CVelaFWBase::~CVelaFWBase() { CleanupNdisNotificationThread(); }

void CVelaFWBase::OnDeviceChange(VelaDevType, BOOL) {}

void CVelaFWBase::Logout(LPCWSTR) {}

LRESULT CVelaFWBase::OnDevChange(WPARAM event, LPARAM header) {
    BOOL bArrived;
    if (event == DBT_DEVICEARRIVAL) {
        bArrived = TRUE;
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        bArrived = FALSE;
    } else {
        return 0;
    }
    const auto* record = reinterpret_cast<const DEV_BROADCAST_HDR*>(header);
    if (record == nullptr || record->dbch_devicetype != DBT_DEVTYP_PORT) return 0;
    LPCWSTR name = PortName(record);
    if (name == nullptr) return 0;
    // Exact comparison: the empty name matches an empty slot, as slot 2 always is.
    if (SameName(name, VLFWDeviceName(1))) {
        OnDeviceChange(VelaDevVolume1, bArrived);
    } else if (SameName(name, VLFWDeviceName(2))) {
        OnDeviceChange(VelaDevVolume2, bArrived);
    }
    return 0;
}

LRESULT CVelaFWBase::OnFlipKeyInput(WPARAM wParam, LPARAM) {
    if (wParam != 0) return 0;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd->m_hWnd == nullptr) return 0;
    // Deep, and to windows without an object of their own as well (icons of other libraries).
    pMainWnd->SendMessageToDescendants(VLFWSyncImeStatusMessage(), 1, 0, TRUE, FALSE);
    return 0;
}

void CVelaFWBase::OnConnectionChanged() {
    Logout(u"+OnConnectionChanged()");
    OnDeviceChange(VelaDevNetwork, m_network.IsConnected());
    Logout(u"-OnConnectionChanged()");
}

void VLFWPostWaitStart() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return;
    ::PostThreadMessageW(pApp->m_nThreadID, VLFWWaitStartMessage(), 0, 0);
}
