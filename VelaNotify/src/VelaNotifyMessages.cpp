// The library's registered message and timer numbers, each registered once and kept.
#include "VelaNotifyMessages.h"

namespace {

UINT& SyncImeStatusNumber() {
    static UINT number = RegisterWindowMessage(u"WM_VELASYS_SYNCIMESTATUS");
    return number;
}

}  // namespace

UINT VelaNotifySyncImeStatusMessage() { return SyncImeStatusNumber(); }

UINT VelaNotifyNetIconTimer() {
    static const UINT number = RegisterWindowMessage(u"NET_ICON_TIMER");
    return number;
}

UINT VelaNotifyTimeIconTimer() {
    static const UINT number = RegisterWindowMessage(u"TIME_ICON_TIMER");
    return number;
}

const UINT& g_nVelaNotifySyncImeStatusMessage = SyncImeStatusNumber();
