// Library entry of VelaSys: announces load and unload on the debugger output in debug builds.
#include <afx.h>

namespace {

struct LibraryEntry {
    LibraryEntry() { TRACE0(u"VELASYS.DLL Initializing!\n"); }
    ~LibraryEntry() { TRACE0(u"VELASYS.DLL Terminating!\n"); }
};

const LibraryEntry g_libraryEntry;

}  // namespace
