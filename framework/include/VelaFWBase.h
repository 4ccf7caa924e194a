// CVelaFWBase: what every framework window adds to its class-library window. Device broadcasts
// for the two named storage volumes and the network notifier's connection changes become calls
// of OnDeviceChange; the flip key asks every window below the main window to bring its
// input-method display up to date.
#pragma once

#include <windows.h>
#include <afx.h>

#include <VLNfNetNotify.h>

#include "VLFWAppBase.h"

class AFX_EXT_CLASS CVelaFWBase : public CVLNfNetNotify {
public:
    // Copies take the notifier part only; the device-name table is left alone.
    CVelaFWBase(const CVelaFWBase& other);
    CVelaFWBase& operator=(const CVelaFWBase& other);

protected:
    // Clears both slots of the device-name table until the next device wait fills slot 1.
    CVelaFWBase();
    ~CVelaFWBase() override;

    // Runs on the notifier's thread (after LaunchNdisNotificationThread, which a window class
    // may call): reports the network as a device. The class that launches the thread stops it
    // (CleanupNdisNotificationThread) before its own part is destroyed.
    void OnConnectionChanged() override;
    // A device came (bArrived TRUE) or went. May be called on the window's thread or on the
    // network notifier's thread. The base version does nothing.
    virtual void OnDeviceChange(VelaDevType dev, BOOL bArrived);
    // Trace hook: "+Step()" on entering a step, "-Step()" on leaving it. Ignored here.
    virtual void Logout(LPCWSTR text);

    // WM_DEVICECHANGE: arrival and removal of a port whose name is in the device-name table.
    LRESULT OnDevChange(WPARAM event, LPARAM header);
    // WM_FLIPKEY_INPUT: wParam 0 sends "WM_VELASYS_SYNCIMESTATUS" (1, 0) to every descendant of
    // the main window.
    LRESULT OnFlipKeyInput(WPARAM wParam, LPARAM lParam);
};
