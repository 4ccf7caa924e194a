// LoadLibrary's search order, names, reference counts and the test hooks of vela/Modules.h.
#include <dlfcn.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ModuleTestSupport.h"

namespace {

using vela::testing::kMarker;
using vela::testing::PlaceOf;
using vela::testing::PlaceWindowsProbe;
using vela::testing::ScopedTerminalRoot;

const char16_t* DoublePlace() { return u"double"; }

TEST(LoadLibraryTest, SearchesBuiltInThenBesideExecutableThenWindowsThenKitFolder) {
  struct Case {
    const char* what;
    const char16_t* name;
    const char* windowsCopy;  // file placed in \Windows first, or nullptr
    bool substitute;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"beside the executable", u"VelaProbe.dll", nullptr, false, u"beside"},
      {"beside wins over \\Windows", u"VelaProbe.dll", "Windows/VelaProbe.dll", false, u"beside"},
      {"kit folder alone", u"VelaKitProbe.dll", nullptr, false, u"kit"},
      {"\\Windows wins over the kit folder", u"VelaKitProbe.dll", "Windows/libVelaKitProbe.so", false, u"windows"},
      {"\\Windows, name in another case", u"WINONLY.DLL", "Windows/WinOnly.dll", false, u"windows"},
      {"without .dll", u"winonly", "Windows/WinOnly.dll", false, u"windows"},
      {"terminal path", u"\\windows\\winonly.dll", "Windows/WinOnly.dll", false, u"windows"},
      {"terminal path without extension", u"/Windows/WinOnly", "Windows/WinOnly.dll", false, u"windows"},
      {"a double wins over every file", u"velaprobe", "Windows/VelaProbe.dll", true, u"double"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedTerminalRoot root;
    vela::ScopedModuleOverrides overrides;
    if (c.windowsCopy) {
      PlaceWindowsProbe(root, c.windowsCopy);
    }
    if (c.substitute) {
      vela::SubstituteModule(u"VelaProbe.dll", {{"ProbePlace", vela::ExportedFunction(&DoublePlace)}});
    }
    SetLastError(kMarker);
    HMODULE module = LoadLibraryW(c.name);
    ASSERT_NE(nullptr, module) << GetLastError();
    EXPECT_EQ(c.expected, PlaceOf(module));
    EXPECT_TRUE(FreeLibrary(module));
  }
}

TEST(LoadLibraryTest, MissingModulesAndBadArguments) {
  ScopedTerminalRoot root;
  root.MakeFolder("Windows");
  root.WriteBytes("Windows/NotElf.dll", "MZ this is no shared library");
  struct Case {
    const char16_t* name;
    DWORD error;
  };
  const Case cases[] = {
      {u"NoSuchModule.dll", ERROR_MOD_NOT_FOUND},
      {u"\\Windows\\NoSuchModule.dll", ERROR_MOD_NOT_FOUND},
      {u"", ERROR_MOD_NOT_FOUND},
      {nullptr, ERROR_INVALID_PARAMETER},
      {u"NotElf.dll", ERROR_BAD_EXE_FORMAT},
  };
  for (const Case& c : cases) {
    SetLastError(kMarker);
    EXPECT_EQ(nullptr, LoadLibraryW(c.name));
    EXPECT_EQ(c.error, GetLastError());
  }
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadLibraryA("NoSuchModule.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(LoadLibraryTest, CountsReferencesAndUnloadsOnTheLastFree) {
  ScopedTerminalRoot root;
  HMODULE first = LoadLibraryW(u"VelaProbe.dll");
  ASSERT_NE(nullptr, first);
  HMODULE second = LoadLibraryA("velaprobe");
  EXPECT_EQ(first, second);
  EXPECT_EQ(u"beside", PlaceOf(first));
  const std::string host = vela::HostPathFromTerminal([&] {
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(first, path, MAX_PATH);
    return std::u16string(path);
  }());

  EXPECT_TRUE(FreeLibrary(first));
  // Still loaded: the second reference holds it, and its state is kept.
  auto calls = vela::ExportAs<int()>(GetProcAddressW(second, u"ProbeCalls"));
  ASSERT_NE(nullptr, calls);
  EXPECT_EQ(1, calls());
  EXPECT_EQ(second, GetModuleHandleW(u"VelaProbe.dll"));

  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(nullptr, dlopen(host.c_str(), RTLD_LAZY | RTLD_NOLOAD)) << "unloaded after the last FreeLibrary";
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, GetModuleHandleW(u"VelaProbe.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
  SetLastError(kMarker);
  EXPECT_FALSE(FreeLibrary(second));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());

  // A new load starts afresh.
  HMODULE again = LoadLibraryW(u"VelaProbe.dll");
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(0, vela::ExportAs<int()>(GetProcAddressW(again, u"ProbeCalls"))());
  EXPECT_TRUE(FreeLibrary(again));
}

TEST(LoadLibraryTest, ThreadsLoadingAndFreeingKeepTheCountsRight) {
  ScopedTerminalRoot root;
  HMODULE held = LoadLibraryW(u"VelaProbe.dll");
  ASSERT_NE(nullptr, held);
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&failures, held] {
      for (int i = 0; i < 200; ++i) {
        HMODULE module = LoadLibraryW(i % 2 ? u"velaprobe" : u"VelaProbe.dll");
        if (module != held || !GetProcAddressW(module, u"ProbePlace") || !FreeLibrary(module)) {
          ++failures;
        }
        HMODULE winsock = LoadLibraryW(u"winsock.dll");
        if (!winsock || !FreeLibrary(winsock)) {
          ++failures;
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(0, failures.load());
  EXPECT_TRUE(FreeLibrary(held));
  SetLastError(kMarker);
  EXPECT_FALSE(FreeLibrary(held)) << "every reference was given back";
  EXPECT_EQ(nullptr, GetModuleHandleW(u"winsock.dll"));
}

TEST(LoadLibraryTest, HiddenModulesAreAbsentUntilRestored) {
  ScopedTerminalRoot root;
  PlaceWindowsProbe(root, "Windows/WinOnly.dll");
  HMODULE kept = LoadLibraryW(u"winsock.dll");
  ASSERT_NE(nullptr, kept);
  {
    vela::ScopedModuleOverrides overrides;
    vela::HideModule(u"WINSOCK");
    vela::HideModule(u"\\Windows\\WinOnly.dll");
    for (const char16_t* name : {u"winsock.dll", u"WinOnly.dll", u"\\Windows\\WinOnly.dll"}) {
      SetLastError(kMarker);
      EXPECT_EQ(nullptr, LoadLibraryW(name));
      EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
    }
    SetLastError(kMarker);
    EXPECT_EQ(nullptr, GetModuleHandleW(u"winsock.dll"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
    // A handle taken before stays usable.
    EXPECT_NE(nullptr, GetProcAddressW(kept, u"gethostname"));
  }
  HMODULE restored = LoadLibraryW(u"winsock.dll");
  EXPECT_EQ(kept, restored);
  EXPECT_TRUE(FreeLibrary(restored));
  EXPECT_TRUE(FreeLibrary(kept));
}

int DoubleMode() { return 0; }

TEST(LoadLibraryTest, DoublesAnswerWithTheirOwnExportsAndOutliveRestore) {
  ScopedTerminalRoot root;
  HMODULE module = nullptr;
  {
    vela::ScopedModuleOverrides overrides;
    vela::SubstituteModule(u"OrelClog.dll", {{"OrelClog_IsMLSMode", vela::ExportedFunction(&DoubleMode)}});
    module = LoadLibraryW(u"orelclog.DLL");
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(module, GetModuleHandleW(u"OrelClog"));
  }
  // Restoring affects later loads only.
  auto mode = vela::ExportAs<int()>(GetProcAddressW(module, u"OrelClog_IsMLSMode"));
  ASSERT_NE(nullptr, mode);
  EXPECT_EQ(0, mode());
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, GetProcAddressW(module, u"OrelClog_PutAppLog"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
  WCHAR path[MAX_PATH];
  EXPECT_EQ(21u, GetModuleFileNameW(module, path, MAX_PATH));
  EXPECT_EQ(std::u16string(u"\\Windows\\OrelClog.dll"), path);
  EXPECT_TRUE(FreeLibrary(module));
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadLibraryW(u"OrelClog.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(GetProcAddressTest, FindsOnlyTheModulesOwnExportsByExactName) {
  ScopedTerminalRoot root;
  HMODULE module = LoadLibraryW(u"VelaProbe.dll");
  ASSERT_NE(nullptr, module);
  EXPECT_NE(nullptr, GetProcAddressA(module, "ProbePlace"));
  struct Case {
    const char16_t* name;
    DWORD error;
  };
  const Case cases[] = {
      {u"probeplace", ERROR_PROC_NOT_FOUND},  // names are case-sensitive
      {u"malloc", ERROR_PROC_NOT_FOUND},      // a dependency's symbol is no export of this module
      {u"", ERROR_PROC_NOT_FOUND},
      {MAKEINTRESOURCEW(1), ERROR_PROC_NOT_FOUND},
      {nullptr, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(kMarker);
    EXPECT_EQ(nullptr, GetProcAddressW(module, c.name));
    EXPECT_EQ(c.error, GetLastError());
  }
  EXPECT_TRUE(FreeLibrary(module));

  int local = 0;
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, GetProcAddressW(reinterpret_cast<HMODULE>(&local), u"ProbePlace"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(GetModuleHandleTest, NamesTheExecutableAndLoadedModules) {
  EXPECT_EQ(vela::ModuleFromAddress(reinterpret_cast<const void*>(&PlaceOf)), GetModuleHandleW(nullptr));
  EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleA(nullptr));
  // A library the process links is found by its platform name.
  EXPECT_EQ(vela::ModuleFromAddress(reinterpret_cast<const void*>(&LoadLibraryW)), GetModuleHandleW(u"VelaCE.dll"));
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, GetModuleHandleW(u"NotLoaded.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());

  ScopedTerminalRoot root;
  HMODULE module = LoadLibraryW(u"VelaProbe.dll");
  ASSERT_NE(nullptr, module);
  // The module's own idea of its handle is the one LoadLibrary gave.
  EXPECT_EQ(module, vela::ExportAs<HMODULE()>(GetProcAddressW(module, u"ProbeInstance"))());
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
