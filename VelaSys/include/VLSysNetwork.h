// CVLSysNetwork: the terminal's network as the status icons, the log and the framework see it
// (connected, IP address, wireless signal strength, WLAN radio). CVLNdisHandle: an open handle
// of the NDIS user-mode I/O driver "UIO1:", through which the signal strength is asked.
//
// Nothing is cached: every call asks the platform afresh with handles of its own, so the
// operations may be called from any thread.
#pragma once

#include <windows.h>
#include <afx.h>

#include "VelaSysBase.h"

class AFX_EXT_CLASS CVLNdisHandle {
public:
    // Opens the driver; when that fails the object holds INVALID_HANDLE_VALUE.
    CVLNdisHandle();
    virtual ~CVLNdisHandle();

    // The handle is owned by exactly one object, which closes it.
    CVLNdisHandle(const CVLNdisHandle&) = delete;
    CVLNdisHandle& operator=(const CVLNdisHandle&) = delete;

    operator HANDLE() const;

private:
    HANDLE m_hNdis;
};

class AFX_EXT_CLASS CVLSysNetwork : public CVelaSysBase {
public:
    CVLSysNetwork();

    // Connected means: the driver is there and a usable adapter has an address.
    BOOL IsConnected();
    // Dotted decimal address of the first usable adapter; empty when there is none or any
    // step fails.
    CString GetIPAddress();
    // Signal strength of the first usable adapter in percent (0 to 100); 0 on any failure.
    WORD GetStrength();

    // disable nonzero switches the radio off, 0 on. Does nothing without Corvel's WLAN functions.
    void DisableWLan(BOOL disable);
    // The radio's disable state as Corvel reports it; 0 when it cannot be asked.
    BOOL GetWLANDisable();

    // Opens the WLAN settings program "\Windows\Lirent.exe".
    void ShowProperty(HWND parent);

private:
    // One signal strength query through an open driver handle; the raw value in dBm.
    BOOL GetStrength(HANDLE driver, DWORD* strength);
};
