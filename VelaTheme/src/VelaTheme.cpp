// Library entry of VelaTheme: registers the library as an extension library of the class
// library, so its resources join the application's search chain, and builds the table of
// brushes and icons every themed button paints with. Unloading undoes both.
#include <afx.h>
#include <vela/Modules.h>

#include "VelaThemeModule.h"

// Defined before the entry below, so it is built before the load and destroyed after the
// unload; its destructor releases the brushes and icons.
CVelaThemeModule VelaThemeDLL;

namespace {

struct LibraryEntry {
    LibraryEntry() {
        TRACE0(u"VELATHEME.DLL Initializing!\n");
        // Without the registration the library has nothing to paint with; the table stays
        // empty and the buttons draw nothing of their own.
        if (!AfxInitExtensionModule(VelaThemeDLL, VELA_THIS_MODULE())) {
            return;
        }
        new CDynLinkLibrary(VelaThemeDLL);  // the chain owns it until AfxTermExtensionModule
        VelaThemeDLL.LoadTable(VelaThemeDLL.hResource);
    }
    ~LibraryEntry() {
        TRACE0(u"VELATHEME.DLL Terminating!\n");
        AfxTermExtensionModule(VelaThemeDLL);
    }
};

const LibraryEntry g_libraryEntry;

}  // namespace
