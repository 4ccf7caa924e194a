// LoadString over the test executable's string tables (data/resources/PlatformTests.rc):
// Japanese, neutral and English tables, chosen as the terminal's user interface prefers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "data/resources/PlatformTestsResource.h"
#include "ModuleTestSupport.h"

namespace {

using vela::testing::kMarker;

std::u16string Load(HINSTANCE instance, UINT id) {
  WCHAR buffer[128];
  const int length = LoadStringW(instance, id, buffer, 128);
  return std::u16string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

TEST(LoadStringTest, PrefersJapaneseThenNeutralThenAnyLanguage) {
  struct Case {
    UINT id;
    const char16_t* expected;
  };
  const Case cases[] = {
      {IDS_GREETING, u"\u3053\u3093\u306B\u3061\u306F\u3001\u4E16\u754C"},  // こんにちは、世界
      {IDS_LAST_IN_BLOCK, u"\u30D6\u30ED\u30C3\u30AF\u306E\u6700\u5F8C"},
      {IDS_HIGH, u"\u6700\u5F8C\u306E\u756A\u53F7"},
      {IDS_NEUTRAL_ONLY, u"neutral only"},  // no Japanese block: neutral before English
      {IDS_ENGLISH_ONLY, u"english only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.expected, Load(nullptr, c.id));
    EXPECT_EQ(c.expected, Load(GetModuleHandleW(nullptr), c.id));
  }
}

TEST(LoadStringTest, MissingStringsGiveZeroAndAnEmptyBuffer) {
  struct Case {
    HINSTANCE instance;
    UINT id;
    DWORD error;
  };
  const Case cases[] = {
      {nullptr, IDS_EMPTY_SLOT, ERROR_RESOURCE_NAME_NOT_FOUND},  // a gap in an existing block
      {nullptr, 1000, ERROR_RESOURCE_NAME_NOT_FOUND},            // no such block
      {nullptr, 0x10000, ERROR_RESOURCE_NAME_NOT_FOUND},
      // A module without resources at all.
      {GetModuleHandleW(u"VelaCE.dll"), IDS_GREETING, ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    WCHAR buffer[16] = u"untouched";
    SetLastError(kMarker);
    EXPECT_EQ(0, LoadStringW(c.instance, c.id, buffer, 16));
    EXPECT_EQ(c.error, GetLastError());
    EXPECT_EQ(u'\0', buffer[0]);
  }
  SetLastError(kMarker);
  EXPECT_EQ(0, LoadStringW(nullptr, IDS_GREETING, nullptr, 16));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST(LoadStringTest, SmallBuffersGetATerminatedPrefix) {
  const std::u16string full = Load(nullptr, IDS_LONG);
  ASSERT_EQ(10u, full.size());
  struct Case {
    int size;
    int result;
  };
  const Case cases[] = {{11, 10}, {10, 9}, {4, 3}, {2, 1}, {1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    WCHAR buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(c.result, LoadStringW(nullptr, IDS_LONG, buffer, c.size));
    EXPECT_EQ(full.substr(0, static_cast<size_t>(c.result)), std::u16string(buffer));
    EXPECT_EQ(u'#', buffer[c.size]);
  }
}

TEST(LoadStringTest, ZeroSizeHandsOutTheResourceItself) {
  const WCHAR* text = nullptr;
  const int length = LoadStringW(nullptr, IDS_GREETING, reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_EQ(8, length);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(Load(nullptr, IDS_GREETING), std::u16string(text, 8));
}

TEST(LoadStringTest, EachModuleFindsItsOwnStrings) {
  vela::testing::ScopedTerminalRoot root;
  HMODULE probe = LoadLibraryW(u"VelaProbe.dll");
  ASSERT_NE(nullptr, probe);
  EXPECT_EQ(u"probe module string", Load(probe, 7));
  SetLastError(kMarker);
  EXPECT_EQ(u"", Load(nullptr, 7));
  EXPECT_EQ(u"", Load(probe, IDS_GREETING));
  EXPECT_TRUE(FreeLibrary(probe));
}

TEST(LoadStringTest, DataFileModulesGiveResourcesWithoutCode) {
  vela::testing::ScopedTerminalRoot root;
  vela::testing::PlaceWindowsProbe(root, "Windows/WinOnly.dll");
  root.WriteBytes("Windows/NotElf.dll", "MZ no module");
  HMODULE data = LoadLibraryExW(u"\\Windows\\WinOnly.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, data);
  EXPECT_EQ(u"probe module string", Load(data, 7));
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, GetProcAddressW(data, u"ProbePlace"));
  EXPECT_NE(kMarker, GetLastError());
  EXPECT_EQ(nullptr, GetModuleHandleW(u"WinOnly.dll")) << "its code is not loaded";
  EXPECT_TRUE(FreeLibrary(data));
  SetLastError(kMarker);
  EXPECT_FALSE(FreeLibrary(data));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());

  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadLibraryExW(u"NotElf.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
  EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), GetLastError());
}

TEST(FindResourceTest, FindsByTypeNameAndLanguage) {
  HRSRC english = FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(IDS_GREETING / 16 + 1), 0x0409);
  ASSERT_NE(nullptr, english);
  const auto* block = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, english)));
  ASSERT_NE(nullptr, block);
  // Slot 0 is empty; slot 1 holds "hello, world", counted, not terminated.
  WORD counts[2];
  std::memcpy(counts, block, sizeof counts);
  EXPECT_EQ(0, counts[0]);
  EXPECT_EQ(12, counts[1]);
  EXPECT_EQ(std::u16string(u"hello, world"),
            std::u16string(reinterpret_cast<const char16_t*>(block + 4), 12));
  EXPECT_EQ(2u + 2u + 24u + 14u * 2u, SizeofResource(nullptr, english));

  EXPECT_NE(nullptr, FindResourceW(nullptr, u"#1", RT_STRING));
  EXPECT_NE(nullptr, FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION));
  struct Case {
    LPCWSTR type;
    LPCWSTR name;
    DWORD error;
  };
  const Case cases[] = {
      {RT_MENU, MAKEINTRESOURCEW(1), ERROR_RESOURCE_TYPE_NOT_FOUND},
      {RT_STRING, MAKEINTRESOURCEW(999), ERROR_RESOURCE_NAME_NOT_FOUND},
      {RT_STRING, u"NAMED", ERROR_RESOURCE_NAME_NOT_FOUND},
      {u"CUSTOM", MAKEINTRESOURCEW(1), ERROR_RESOURCE_TYPE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(kMarker);
    EXPECT_EQ(nullptr, FindResourceW(nullptr, c.name, c.type));
    EXPECT_EQ(c.error, GetLastError());
  }
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(1), 0x0407));
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND), GetLastError());

  int notAResource = 0;
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadResource(nullptr, reinterpret_cast<HRSRC>(&notAResource)));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
  EXPECT_EQ(0u, SizeofResource(nullptr, nullptr));
}

}  // namespace
