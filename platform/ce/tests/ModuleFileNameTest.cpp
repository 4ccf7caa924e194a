// GetModuleFileName: terminal paths that lead back to the module's file, and the platform's
// truncation rules.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "ModuleTestSupport.h"

namespace {

using vela::testing::kMarker;
using vela::testing::PlaceWindowsProbe;
using vela::testing::ScopedTerminalRoot;

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::u16string FileNameOf(HMODULE module) {
  WCHAR path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH + 1);
  return std::u16string(path, length);
}

TEST(GetModuleFileNameTest, ExecutableOutsideTheRootMapsBackToItsFile) {
  ScopedTerminalRoot root;
  const std::u16string path = FileNameOf(nullptr);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(u"\\Host\\", path.substr(0, 6));
  EXPECT_EQ(std::u16string::npos, path.find(u'/'));
  char self[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  EXPECT_TRUE(SameFile(self, vela::HostPathFromTerminal(path)));
  // Its folder works as a folder of the terminal, so files beside the executable are found.
  const std::u16string folder = path.substr(0, path.find_last_of(u'\\'));
  EXPECT_TRUE(SameFile(std::string(self).substr(0, std::string(self).find_last_of('/')),
                       vela::HostPathFromTerminal(folder)));
}

TEST(GetModuleFileNameTest, TestsCanPlaceTheExecutableInTheTerminal) {
  ScopedTerminalRoot root;
  root.MakeFolder("Program Files/App");
  PlaceWindowsProbe(root, "Program Files/App/Beside.dll");
  vela::SetExecutablePathForTests(u"\\Program Files\\App\\app.exe");
  EXPECT_EQ(u"\\Program Files\\App\\app.exe", FileNameOf(nullptr));
  // "Beside the executable" follows: the real executable's neighbours are out of reach.
  HMODULE beside = LoadLibraryW(u"Beside.dll");
  EXPECT_NE(nullptr, beside);
  EXPECT_TRUE(FreeLibrary(beside));
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadLibraryW(u"VelaProbe.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());

  vela::ResetExecutablePathForTests();
  EXPECT_EQ(u"\\Host\\", FileNameOf(nullptr).substr(0, 6));
}

TEST(GetModuleFileNameTest, ModulesUnderTheRootGetTheirTerminalPath) {
  ScopedTerminalRoot root;
  PlaceWindowsProbe(root, "Windows/WinOnly.dll");
  HMODULE module = LoadLibraryW(u"winonly");
  ASSERT_NE(nullptr, module);
  EXPECT_EQ(u"\\Windows\\WinOnly.dll", FileNameOf(module));
  EXPECT_TRUE(FreeLibrary(module));

  HMODULE winsock = LoadLibraryW(u"WINSOCK");
  ASSERT_NE(nullptr, winsock);
  EXPECT_EQ(u"\\Windows\\winsock.dll", FileNameOf(winsock));
  EXPECT_TRUE(FreeLibrary(winsock));

  int local = 0;
  SetLastError(kMarker);
  WCHAR path[MAX_PATH] = u"untouched";
  EXPECT_EQ(0u, GetModuleFileNameW(reinterpret_cast<HMODULE>(&local), path, MAX_PATH));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(GetModuleFileNameTest, TooSmallBuffersGetATerminatedPrefix) {
  ScopedTerminalRoot root;
  PlaceWindowsProbe(root, "Windows/WinOnly.dll");
  HMODULE module = LoadLibraryW(u"WinOnly.dll");
  ASSERT_NE(nullptr, module);
  const std::u16string full = u"\\Windows\\WinOnly.dll";
  const DWORD length = static_cast<DWORD>(full.size());
  struct Case {
    DWORD size;
    DWORD result;
    DWORD error;  // kMarker: left alone
  };
  const Case cases[] = {
      {length + 5, length, kMarker},
      {length + 1, length, kMarker},
      {length, length, ERROR_INSUFFICIENT_BUFFER},
      {4, 4, ERROR_INSUFFICIENT_BUFFER},
      {1, 1, ERROR_INSUFFICIENT_BUFFER},
      {0, 0, ERROR_INSUFFICIENT_BUFFER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    WCHAR buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    SetLastError(kMarker);
    EXPECT_EQ(c.result, GetModuleFileNameW(module, buffer, c.size));
    EXPECT_EQ(c.error, GetLastError());
    if (c.size > 0) {
      const size_t kept = std::min<size_t>(full.size(), c.size - 1);
      EXPECT_EQ(full.substr(0, kept), std::u16string(buffer));
    }
    EXPECT_EQ(u'#', buffer[c.size]) << "wrote beyond nSize";
  }
  SetLastError(kMarker);
  EXPECT_EQ(0u, GetModuleFileNameW(module, nullptr, 10));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  EXPECT_TRUE(FreeLibrary(module));
}

TEST(GetModuleFileNameTest, AnsiFormNeverEndsInsideATwoByteCharacter) {
  ScopedTerminalRoot root;
  // "\Windows\表示.dll": 表 is 0x95 0x5C in code page 932, 示 0x8E 0xA6.
  root.MakeFolder("Windows");
  PlaceWindowsProbe(root, "Windows/\xE8\xA1\xA8\xE7\xA4\xBA.dll");
  HMODULE module = LoadLibraryW(u"\\Windows\\\u8868\u793A.dll");
  ASSERT_NE(nullptr, module);
  const std::string full = "\\Windows\\\x95\x5C\x8E\xA6.dll";
  char buffer[64];
  EXPECT_EQ(full.size(), GetModuleFileNameA(module, buffer, sizeof buffer));
  EXPECT_EQ(full, buffer);
  // Room for "\Windows\" and one byte of 表: the lead byte is dropped, not left dangling.
  std::memset(buffer, '#', sizeof buffer);
  SetLastError(kMarker);
  EXPECT_EQ(11u, GetModuleFileNameA(module, buffer, 11));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_STREQ("\\Windows\\", buffer);
  EXPECT_EQ('#', buffer[11]);
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
