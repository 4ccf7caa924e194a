// Shared by the installation tests: one private root that serves as the terminal and as the
// desktop, a fresh registry per test, and libraries loaded by name as their tools load them.
#pragma once

#include <windows.h>
#include <vela/DesktopSide.h>
#include <vela/Registry.h>
#include <vela/TerminalFileSystem.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "PrivateTerminalRoot.h"

namespace setuptest {

// The desktop programs move "\" to the desktop folder; here both are the one private root, so
// the tests and the code under test see the same files and hives.
inline void UseOneRootForBothSides() {
  ::setenv("VELA_DESKTOP_ROOT", vela::TerminalRoot().c_str(), 1);
  ::unsetenv("VELA_SCRIPT");
}

inline void ForgetRegistry() {
  std::error_code ignored;
  std::filesystem::remove_all(vela::RegistryFolder(), ignored);
  vela::ForgetRegistryCacheForTests();
}

inline std::filesystem::path Host(std::u16string_view terminalPath) {
  return vela::HostPathFromTerminal(terminalPath);
}

inline void WriteFile(std::u16string_view terminalPath, const std::string& bytes) {
  std::filesystem::create_directories(Host(terminalPath).parent_path());
  std::ofstream(Host(terminalPath), std::ios::binary) << bytes;
}

inline std::string ReadFile(std::u16string_view terminalPath) {
  std::ifstream in(Host(terminalPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(std::u16string_view terminalPath) {
  return GetFileAttributesW(std::u16string(terminalPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A library loaded for one test and freed after it, so its module state starts afresh.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char16_t* name) : m_module(LoadLibraryW(name)) {}
  ~LoadedLibrary() {
    if (m_module) FreeLibrary(m_module);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  HMODULE get() const { return m_module; }

  template <typename Function>
  Function* Entry(const char16_t* name) const {
    FARPROC proc = GetProcAddressW(m_module, name);
    EXPECT_NE(proc, nullptr) << "no export named as given";
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(proc));
  }

 private:
  HMODULE m_module;
};

}  // namespace setuptest
