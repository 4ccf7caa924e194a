// A small module for the module tests: the same source built for each place LoadLibrary
// searches, so a test can tell which copy it got.
#include <vela/Modules.h>
#include <windows.h>

#ifndef PROBE_PLACE
#error PROBE_PLACE names where this copy is put
#endif

namespace {
int g_calls = 0;
}

extern "C" __attribute__((visibility("default"))) const char16_t* ProbePlace() {
  ++g_calls;
#if PROBE_PLACE == 1
  return u"beside";
#elif PROBE_PLACE == 2
  return u"windows";
#else
  return u"kit";
#endif
}

// How often ProbePlace ran in this copy since it was loaded: a fresh load starts at 0.
extern "C" __attribute__((visibility("default"))) int ProbeCalls() { return g_calls; }

// The module's own handle, as its DllMain instance would be.
extern "C" __attribute__((visibility("default"))) HMODULE ProbeInstance() { return VELA_THIS_MODULE(); }
