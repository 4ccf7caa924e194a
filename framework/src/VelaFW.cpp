// Library entry of VelaFW.
#include <afx.h>

namespace {

struct LibraryEntry {
    LibraryEntry() { TRACE0(u"VELAFW.DLL Initializing!\n"); }
    ~LibraryEntry() { TRACE0(u"VELAFW.DLL Terminating!\n"); }
};

const LibraryEntry g_libraryEntry;

}  // namespace
