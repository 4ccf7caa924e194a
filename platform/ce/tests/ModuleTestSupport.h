// Helpers of the module tests: the probe modules built beside the tests, and copies of them
// placed in the terminal.
#pragma once

#include <vela/Modules.h>
#include <vela/TerminalFileSystem.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ScopedTerminalRoot.h"

namespace vela::testing {

constexpr DWORD kMarker = 0xDEADBEEF;

// Which copy of the probe module a handle belongs to ("beside", "windows", "kit"), or what a
// double answers.
inline std::u16string PlaceOf(HMODULE module) {
  auto place = ExportAs<const char16_t*()>(GetProcAddressW(module, u"ProbePlace"));
  return place ? std::u16string(place()) : std::u16string(u"(no ProbePlace)");
}

// Copies the \Windows variant of the probe module into the terminal under relative.
inline void PlaceWindowsProbe(const ScopedTerminalRoot& root, const std::string& relative) {
  root.MakeFolder("Windows");
  std::filesystem::copy_file(VELA_PROBE_WINDOWS_FILE, root.Host(relative),
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace vela::testing
