// The modules of the process: built-in modules with the tests' overrides, and the shared
// libraries LoadLibrary opened, each with its reference count.
#pragma once

#include <vela/Modules.h>

#include <memory>
#include <optional>
#include <string>

namespace vela::modules {

struct BuiltinModule {
  std::u16string name;
  ModuleExports exports;
  int references = 0;
};

enum class Lookup { Found, Hidden, Absent };

// A built-in module (or the double put in its place) for a bare name, its count raised.
Lookup AcquireBuiltin(std::u16string_view name, HMODULE* module);

bool IsHiddenModule(std::u16string_view name);

// Records one more reference to an image dlopen gave; dlHandle is released when the image
// was already counted.
HMODULE AddLibraryReference(void* dlHandle, HMODULE image);

enum class Release { Builtin, Library, NotCounted, Unknown };
// Drops a reference; *dlHandleToClose is set when the caller must dlclose (outside any lock).
Release ReleaseModule(HMODULE module, void** dlHandleToClose);

// The export of a loaded built-in module; nullopt when module is not one.
std::optional<FARPROC> BuiltinExport(HMODULE module, std::string_view exportName);

// The registered name of a loaded built-in module.
std::optional<std::u16string> BuiltinName(HMODULE module);

// The dlopen handle of a library LoadLibrary opened, or nullptr.
void* LibraryHandle(HMODULE module);

// GetModuleHandle without the executable: loaded built-ins, then loaded images by file name.
Lookup FindLoadedModule(std::u16string_view name, HMODULE* module);

}  // namespace vela::modules
