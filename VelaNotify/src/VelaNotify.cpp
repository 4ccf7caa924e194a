// Library entry of VelaNotify: links the library into the class library's chain of extension
// modules, so that its icons are found, and registers its message and timer numbers.
#include <afxwin.h>
#include <vela/Modules.h>

#include "VelaNotifyMessages.h"
#include "VelaNotifyModule.h"

namespace {

AFX_EXTENSION_MODULE g_velaNotifyModule = {FALSE, nullptr, nullptr, nullptr, nullptr};

struct LibraryEntry {
    LibraryEntry() {
        TRACE0(u"VELANOTIFY.DLL Initializing!\n");
        if (!AfxInitExtensionModule(g_velaNotifyModule, VELA_THIS_MODULE())) {
            // A shared library linked into a program cannot refuse its load here; say so loudly.
            OutputDebugString(u"VELANOTIFY.DLL: extension module registration failed\n");
            return;
        }
        new CDynLinkLibrary(g_velaNotifyModule);  // the chain owns it until AfxTermExtensionModule
        VelaNotifySyncImeStatusMessage();
        VelaNotifyNetIconTimer();
        VelaNotifyTimeIconTimer();
    }
    ~LibraryEntry() {
        TRACE0(u"VELANOTIFY.DLL Terminating!\n");
        AfxTermExtensionModule(g_velaNotifyModule);
    }
};

const LibraryEntry g_libraryEntry;

}  // namespace

// The library's own module handle: its icons are loaded from here.
HMODULE VelaNotifyModule() { return g_velaNotifyModule.hModule; }
