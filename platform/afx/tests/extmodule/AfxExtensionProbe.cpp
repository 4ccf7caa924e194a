// A class-library extension library for the tests: it links itself into the resource chain
// when it is loaded and out of it when it is unloaded, as a library's DllMain does.
#include <afxwin.h>
#include <vela/Modules.h>

namespace {

AFX_EXTENSION_MODULE g_extension = {FALSE, nullptr, nullptr, nullptr, nullptr};

struct Registration {
    Registration() {
        if (AfxInitExtensionModule(g_extension, VELA_THIS_MODULE())) {
            new CDynLinkLibrary(g_extension);  // the chain owns it until AfxTermExtensionModule
        }
    }
    ~Registration() { AfxTermExtensionModule(g_extension); }
};

const Registration g_registration;

}  // namespace

extern "C" __attribute__((visibility("default"))) HMODULE ExtensionProbeModule() { return g_extension.hModule; }
