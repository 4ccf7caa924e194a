// Modules built into the process, and the hooks tests use to hide a module or put a double in
// its place without touching the host system.
//
// LoadLibrary looks for a name (matched without regard to case, with or without ".dll") among
// the modules built into the process first, then as Name.dll or libName.so beside the
// executable, in \Windows of the terminal and in the kit's library folder.
#pragma once

#include <libloaderapi.h>

#include <map>
#include <string>
#include <string_view>

namespace vela {

// Export name (case-sensitive, undecorated) to function.
using ModuleExports = std::map<std::string, FARPROC, std::less<>>;

// Any function as an export. The detour through void (*)() keeps -Wcast-function-type quiet;
// callers cast the FARPROC of GetProcAddress back the same way.
template <typename Function>
FARPROC ExportedFunction(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

template <typename Function>
Function* ExportAs(FARPROC proc) {
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(proc));
}

// Makes a module part of the process under name ("winsock.dll"). Platform code calls it at
// static-initialisation time through a BuiltinModuleRegistration.
void RegisterBuiltinModule(std::u16string_view name, ModuleExports exports);

struct BuiltinModuleRegistration {
  BuiltinModuleRegistration(std::u16string_view name, ModuleExports exports) {
    RegisterBuiltinModule(name, std::move(exports));
  }
};

// From now on LoadLibrary and GetModuleHandle act as if no module of that name existed
// anywhere (ERROR_MOD_NOT_FOUND). Handles already handed out stay valid.
void HideModule(std::u16string_view name);

// From now on LoadLibrary of name gives a built-in module with these exports, ahead of every
// other place, whether or not a module of that name exists.
void SubstituteModule(std::u16string_view name, ModuleExports exports);

// Undoes every HideModule and SubstituteModule.
void RestoreModules();

// Restores the modules when a test ends, however it ends.
class ScopedModuleOverrides {
 public:
  ScopedModuleOverrides() = default;
  ~ScopedModuleOverrides() { RestoreModules(); }
  ScopedModuleOverrides(const ScopedModuleOverrides&) = delete;
  ScopedModuleOverrides& operator=(const ScopedModuleOverrides&) = delete;
};

// From now on GetModuleFileName(NULL) reports terminalPath for the executable, and "beside
// the executable" in the search order means beside that path, until reset. For tests of code
// that looks for files beside its program, without touching the build's own folders.
void SetExecutablePathForTests(std::u16string terminalPath);
void ResetExecutablePathForTests();

// The handle of the loaded module (executable or shared library) that holds address, or NULL.
HMODULE ModuleFromAddress(const void* address);

}  // namespace vela

// The module that the calling code is compiled into, as a library's DllMain instance would
// name it: the anchor is a static of a lambda, which has no linkage, so it always lies in the
// caller's own executable or shared library.
#define VELA_THIS_MODULE()                               \
    ([] {                                                \
        static const char velaModuleAnchor = 0;          \
        return ::vela::ModuleFromAddress(&velaModuleAnchor); \
    }())
