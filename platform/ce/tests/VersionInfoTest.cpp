// Version information read from module files, and VerQueryValue over the platform's layout.
#include <vela/Utf.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ModuleTestSupport.h"

namespace {

using vela::testing::kMarker;
using vela::testing::ScopedTerminalRoot;

std::u16string ModulePath(HMODULE module) {
  WCHAR path[MAX_PATH];
  return std::u16string(path, GetModuleFileNameW(module, path, MAX_PATH));
}

// The version information of a file, as the logging library reads its own.
std::vector<BYTE> ReadVersionInfo(const std::u16string& file) {
  DWORD handle = kMarker;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  EXPECT_EQ(0u, handle);
  std::vector<BYTE> block(size);
  if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, block.data())) {
    ADD_FAILURE() << "no version information: " << GetLastError();
    return {};
  }
  return block;
}

std::u16string QueryText(const std::vector<BYTE>& block, const char16_t* path, UINT* lengthOut = nullptr) {
  LPVOID value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path, &value, &length)) {
    return u"(missing)";
  }
  if (lengthOut) {
    *lengthOut = length;
  }
  const auto* text = static_cast<const char16_t*>(value);
  return std::u16string(text, length > 0 ? length - 1 : 0);
}

TEST(VersionInfoTest, ExecutableReadsItsOwnVersionResource) {
  ScopedTerminalRoot root;
  const std::vector<BYTE> block = ReadVersionInfo(ModulePath(nullptr));
  ASSERT_FALSE(block.empty());

  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
  ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, value, sizeof fixed);
  EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
  EXPECT_EQ(0x00010000u, fixed.dwStrucVersion);
  EXPECT_EQ(0x00010000u, fixed.dwFileVersionMS);
  EXPECT_EQ(0x00000001u, fixed.dwFileVersionLS);
  EXPECT_EQ(0x0000003Fu, fixed.dwFileFlagsMask);
  EXPECT_EQ(0x00050000u, fixed.dwFileOS);
  EXPECT_EQ(1u, fixed.dwFileType);

  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(4u, length);
  WORD translation[2];
  std::memcpy(translation, value, sizeof translation);
  EXPECT_EQ(0x0411, translation[0]);
  EXPECT_EQ(1200, translation[1]);

  UINT textLength = 0;
  EXPECT_EQ(u"1.0.0.1", QueryText(block, u"\\StringFileInfo\\041104b0\\ProductVersion", &textLength));
  EXPECT_EQ(8u, textLength) << "characters, terminator included";
  EXPECT_EQ(u"1.0.0.1", QueryText(block, u"\\stringfileinfo\\041104B0\\PRODUCTVERSION"));
  EXPECT_EQ(u"\u30D7\u30E9\u30C3\u30C8\u30D5\u30A9\u30FC\u30E0\u306E\u30C6\u30B9\u30C8",
            QueryText(block, u"\\StringFileInfo\\041104b0\\FileDescription"));
  EXPECT_EQ(u"", QueryText(block, u"\\StringFileInfo\\041104b0\\Comments", &textLength));
  EXPECT_EQ(1u, textLength);
}

TEST(VersionInfoTest, MissingValuesFail) {
  ScopedTerminalRoot root;
  const std::vector<BYTE> block = ReadVersionInfo(ModulePath(nullptr));
  ASSERT_FALSE(block.empty());
  for (const char16_t* path : {u"\\StringFileInfo\\040904b0\\ProductVersion",
                               u"\\StringFileInfo\\041104b0\\NoSuchValue",
                               u"\\StringFileInfo\\041104b0\\ProductVersion\\Deeper",
                               u"\\Nothing"}) {
    LPVOID value = nullptr;
    UINT length = 99;
    SetLastError(kMarker);
    EXPECT_FALSE(VerQueryValueW(block.data(), path, &value, &length));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND), GetLastError());
  }
}

TEST(VersionInfoTest, TruncatedCopiesNeverLeadReadsBeyondTheBuffer) {
  ScopedTerminalRoot root;
  const std::u16string self = ModulePath(nullptr);
  const DWORD size = GetFileVersionInfoSizeW(self.c_str(), nullptr);
  ASSERT_GT(size, 100u);
  // Exactly 100 bytes on the heap: AddressSanitizer catches any read beyond them.
  std::vector<BYTE> block(100);
  ASSERT_TRUE(GetFileVersionInfoW(self.c_str(), 0, 100, block.data()));
  LPVOID value = nullptr;
  UINT length = 0;
  EXPECT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo\\041104b0\\ProductVersion", &value, &length));

  SetLastError(kMarker);
  EXPECT_FALSE(GetFileVersionInfoW(self.c_str(), 0, 4, block.data()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST(VersionInfoTest, OtherModulesAreReadWithoutLoadingThem) {
  ScopedTerminalRoot root;
  vela::testing::PlaceWindowsProbe(root, "Windows/WinOnly.dll");
  for (const char16_t* file : {u"\\Windows\\winonly.dll", u"WinOnly.dll", u"VelaProbe.dll"}) {
    SCOPED_TRACE(vela::Utf16ToUtf8(file));
    const std::vector<BYTE> block = ReadVersionInfo(file);
    EXPECT_EQ(u"3.1.4.1", QueryText(block, u"\\StringFileInfo\\041104b0\\ProductVersion"));
  }
  EXPECT_EQ(nullptr, GetModuleHandleW(u"WinOnly.dll"));
}

TEST(VersionInfoTest, FilesWithoutVersionInformation) {
  ScopedTerminalRoot root;
  root.MakeFolder("Temp");
  root.WriteBytes("Temp/plain.txt", "not a module");
  const std::u16string kitLibrary = ModulePath(GetModuleHandleW(u"VelaCE.dll"));
  struct Case {
    std::u16string file;
    DWORD error;
  };
  const Case cases[] = {
      {u"\\Temp\\missing.exe", ERROR_FILE_NOT_FOUND},
      {u"Missing.dll", ERROR_FILE_NOT_FOUND},
      {u"", ERROR_FILE_NOT_FOUND},
      {u"\\Temp\\plain.txt", ERROR_BAD_FORMAT},
      {kitLibrary, ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vela::Utf16ToUtf8(c.file));
    DWORD handle = kMarker;
    SetLastError(kMarker);
    EXPECT_EQ(0u, GetFileVersionInfoSizeW(c.file.c_str(), &handle));
    EXPECT_EQ(c.error, GetLastError());
    BYTE block[64];
    SetLastError(kMarker);
    EXPECT_FALSE(GetFileVersionInfoW(c.file.c_str(), 0, sizeof block, block));
    EXPECT_EQ(c.error, GetLastError());
  }
  SetLastError(kMarker);
  EXPECT_EQ(0u, GetFileVersionInfoSizeW(nullptr, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(VersionInfoTest, FindResourceGivesTheSameBytesAsTheFile) {
  ScopedTerminalRoot root;
  const std::vector<BYTE> fromFile = ReadVersionInfo(ModulePath(nullptr));
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_NE(nullptr, resource);
  ASSERT_EQ(fromFile.size(), SizeofResource(nullptr, resource));
  const void* loaded = LockResource(LoadResource(nullptr, resource));
  EXPECT_EQ(0, std::memcmp(fromFile.data(), loaded, fromFile.size()));
}

}  // namespace
