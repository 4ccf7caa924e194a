// Library entry of VelaFW: joins the class library's chain of extension libraries, so that
// VelaFW's resources are found through its own module handle, and registers the framework's
// window messages.
#include <afxwin.h>
#include <vela/Modules.h>

#include "VLFWShared.h"

UINT g_nVLFWSelectMenuMessage = 0;
UINT g_nVLFWMenuTopMessage = 0;
UINT g_nVLFWMenuPrevMessage = 0;
UINT g_nVLFWWaitStartMessage = 0;
UINT g_nVLFWSyncImeStatusMessage = 0;
UINT g_nVLFWLogoutMessage = 0;
UINT g_nVLFWNdisNotifyMessage = 0;

namespace {

AFX_EXTENSION_MODULE g_extension = {FALSE, nullptr, nullptr, nullptr, nullptr};

WCHAR g_szDeviceName1[VLFW_DEVICE_NAME_LENGTH] = {};
WCHAR g_szDeviceName2[VLFW_DEVICE_NAME_LENGTH] = {};

struct LibraryEntry {
    LibraryEntry() {
        TRACE0(u"VELAFW.DLL Initializing!\n");
        if (AfxInitExtensionModule(g_extension, VELA_THIS_MODULE())) {
            new CDynLinkLibrary(g_extension);  // the chain owns it until AfxTermExtensionModule
        }
        g_nVLFWSelectMenuMessage = ::RegisterWindowMessageW(u"WM_VELAFW_SELECTMENU");
        g_nVLFWMenuTopMessage = ::RegisterWindowMessageW(u"WM_VELAFW_MENU_TOP");
        g_nVLFWMenuPrevMessage = ::RegisterWindowMessageW(u"WM_VELAFW_MENU_PREV");
        g_nVLFWWaitStartMessage = ::RegisterWindowMessageW(u"WM_VELAFW_WAITSTART");
        g_nVLFWSyncImeStatusMessage = ::RegisterWindowMessageW(u"WM_VELASYS_SYNCIMESTATUS");
        g_nVLFWLogoutMessage = ::RegisterWindowMessageW(u"WM_VELAFW_LOGOUT");
        g_nVLFWNdisNotifyMessage = ::RegisterWindowMessageW(u"VELA_NDIS_NOTIFOCATION");
    }
    ~LibraryEntry() {
        TRACE0(u"VELAFW.DLL Terminating!\n");
        AfxTermExtensionModule(g_extension);
    }
};

const LibraryEntry g_libraryEntry;

}  // namespace

WCHAR* VLFWDeviceName(int slot) {
    if (slot == 1) return g_szDeviceName1;
    if (slot == 2) return g_szDeviceName2;
    return nullptr;
}

HINSTANCE VLFWResourceHandle() { return g_extension.hModule; }
