// vela-regsvr: the desktop's self-registration tool. It loads a library, calls its
// DllRegisterServer (or, with /u, DllUnregisterServer) and reports the result, as the
// platform's tool does in its message box; here on standard output.
#include <windows.h>
#include <vela/DesktopSide.h>
#include <vela/Utf.h>

#include <cstdio>
#include <string>

namespace {

using EntryPoint = HRESULT();

void Usage() {
  std::fputs("usage: vela-regsvr [/u] [/s] LIBRARY\n"
             "Loads LIBRARY (a name such as VelaSdkReg.dll, or a path of the desktop) and calls its\n"
             "DllRegisterServer, or DllUnregisterServer with /u; /s reports failures only.\n",
             stderr);
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false;
  bool silent = false;
  std::string library;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "/u" || arg == "-u" || arg == "/U") {
      unregister = true;
    } else if (arg == "/s" || arg == "-s" || arg == "/S") {
      silent = true;
    } else if (library.empty() && !arg.empty() && arg[0] != '-') {
      library = arg;
    } else {
      Usage();
      return 2;
    }
  }
  if (library.empty()) {
    Usage();
    return 2;
  }
  vela::EnterDesktopSide();
  const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  HMODULE module = LoadLibraryW(vela::Utf8ToUtf16(library).c_str());
  if (!module) {
    std::fprintf(stderr, "vela-regsvr: LoadLibrary(\"%s\") failed (error %u)\n", library.c_str(),
                 static_cast<unsigned>(GetLastError()));
    return 3;
  }
  FARPROC proc = GetProcAddressA(module, entryName);
  if (!proc) {
    std::fprintf(stderr, "vela-regsvr: %s has no entry point %s\n", library.c_str(), entryName);
    FreeLibrary(module);
    return 4;
  }
  const HRESULT result = reinterpret_cast<EntryPoint*>(reinterpret_cast<void (*)()>(proc))();
  FreeLibrary(module);
  if (FAILED(result)) {
    std::fprintf(stderr, "vela-regsvr: %s in %s failed (0x%08x)\n", entryName, library.c_str(), static_cast<unsigned>(result));
    return 5;
  }
  if (!silent) std::printf("%s in %s succeeded.\n", entryName, library.c_str());
  return 0;
}
