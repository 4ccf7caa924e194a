// The desktop registration library against the desktop registry: the kit's directories join
// the device platforms' lists (UTF-16 in binary values) and the desktop platform's lists (ANSI
// strings), once, and leave them again exactly as they were.
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "DevicePlatforms.h"
#include "SetupTestSupport.h"

namespace {

using velasdkreg::kDesktopDirectories;
using velasdkreg::kDevicePlatforms;

using Entry = HRESULT();

std::u16string Widen(const std::string& ansi) {
  std::u16string wide(ansi.size(), u'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

class VelaSdkRegTest : public ::testing::Test {
 protected:
  VelaSdkRegTest() {
    setuptest::UseOneRootForBothSides();
    vela::SelectRegistry(vela::RegistrySide::Desktop);
    setuptest::ForgetRegistry();
  }
  ~VelaSdkRegTest() override {
    setuptest::ForgetRegistry();
    vela::SelectRegistry(vela::RegistrySide::Terminal);
  }

  // Loads the library (by name, or from a path) and learns the kit root it will use.
  void Load(const char16_t* name = u"VelaSdkReg.dll") {
    m_library = std::make_unique<setuptest::LoadedLibrary>(name);
    ASSERT_NE(m_library->get(), nullptr);
    char path[1024];
    ASSERT_GT(GetModuleFileNameA(m_library->get(), path, sizeof path), 0u);
    PathRemoveFileSpecA(path);
    m_rootA = path;
    m_rootW = Widen(m_rootA);
  }
  HRESULT Register() { return m_library->Entry<Entry>(u"DllRegisterServer")(); }
  HRESULT Unregister() { return m_library->Entry<Entry>(u"DllUnregisterServer")(); }

  static HKEY CreateKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    return key;
  }
  static bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  static void CreateAllKeys() {
    for (const auto& row : kDevicePlatforms) RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(row)));
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, kDesktopDirectories));
  }

  static void SetRaw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, size_t size) {
    HKEY key = CreateKey(root, path);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void SetDeviceList(size_t row, const char* name, const std::u16string& list) {
    SetRaw(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[row]), name, REG_BINARY, list.c_str(),
           (list.size() + 1) * 2);
  }
  static void SetDesktopList(const char* name, const std::string& list) {
    SetRaw(HKEY_CURRENT_USER, kDesktopDirectories, name, REG_SZ, list.c_str(), list.size() + 1);
  }

  // The raw value: type and bytes; an empty type of 0xFFFF when there is none.
  static std::pair<DWORD, std::vector<BYTE>> Raw(HKEY root, const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {0xFFFF, {}};
    std::vector<BYTE> data(16384);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {0xFFFF, {}};
    data.resize(size);
    return {type, data};
  }
  // The device list as text; the stored bytes must be UTF-16 with one terminating zero.
  static std::u16string DeviceList(size_t row, const char* name) {
    auto [type, data] = Raw(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[row]), name);
    if (type == 0xFFFF) return u"(none)";
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_GE(data.size(), 2u);
    EXPECT_EQ(data.size() % 2, 0u);
    std::u16string text(data.size() / 2, u'\0');
    std::memcpy(text.data(), data.data(), data.size());
    EXPECT_EQ(text.back(), u'\0') << "the terminator is part of the stored length";
    text.pop_back();
    return text;
  }
  static std::string DesktopList(const char* name) {
    auto [type, data] = Raw(HKEY_CURRENT_USER, kDesktopDirectories, name);
    if (type == 0xFFFF) return "(none)";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    return std::string(data.begin(), data.end()).c_str();
  }

  std::unique_ptr<setuptest::LoadedLibrary> m_library;
  std::string m_rootA;
  std::u16string m_rootW;
};

TEST_F(VelaSdkRegTest, RegisteringTwiceAddsEachDirectoryOnce) {
  Load();
  CreateAllKeys();
  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(Register(), S_OK);
  for (size_t row = 0; row < std::size(kDevicePlatforms); ++row) {
    const std::u16string lib = row == 3 ? u"\\Lib\\ARMV4T;" : u"\\Lib\\ARMV4I;";
    EXPECT_EQ(DeviceList(row, "Lib Dirs"), m_rootW + lib) << kDevicePlatforms[row].pszModel;
    EXPECT_EQ(DeviceList(row, "Include Dirs"), m_rootW + u"\\Include;") << kDevicePlatforms[row].pszModel;
  }
  EXPECT_EQ(DesktopList("Library Dirs"), m_rootA + "\\Lib;");
  EXPECT_EQ(DesktopList("Include Dirs"), m_rootA + "\\Include;");
}

TEST_F(VelaSdkRegTest, OnlyTheKeysThatExistAreChanged) {
  Load();
  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(Unregister(), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[0])));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDesktopDirectories)) << "no tool, nothing created";

  RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[3])));
  RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[7])));
  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(DeviceList(3, "Lib Dirs"), m_rootW + u"\\Lib\\ARMV4T;");
  EXPECT_EQ(DeviceList(7, "Include Dirs"), m_rootW + u"\\Include;");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[0])));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDesktopDirectories));
}

// Register then unregister gives every list back as it was: one entry, several, and entries
// that only look like the kit's.
TEST_F(VelaSdkRegTest, UnregisterGivesBackTheListsExactlyAsTheyWere) {
  Load();
  CreateAllKeys();
  const std::u16string lookAlike = m_rootW + u"\\Include2";
  SetDeviceList(0, "Lib Dirs", u"C:\\SDK\\Lib");
  SetDeviceList(0, "Include Dirs", lookAlike + u";C:\\SDK\\Include");
  SetDeviceList(3, "Lib Dirs", m_rootW + u"\\Lib\\ARMV4T\\Old;C:\\A;C:\\B;");
  SetDesktopList("Library Dirs", "C:\\VC98\\Lib");
  SetDesktopList("Include Dirs", m_rootA + "\\Include2;C:\\VC98\\Include");

  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(DeviceList(0, "Lib Dirs"), m_rootW + u"\\Lib\\ARMV4I;C:\\SDK\\Lib");
  EXPECT_EQ(DeviceList(0, "Include Dirs"), m_rootW + u"\\Include;" + lookAlike + u";C:\\SDK\\Include")
      << "a longer look-alike entry does not count as the kit's";
  EXPECT_EQ(DesktopList("Include Dirs"), m_rootA + "\\Include;" + m_rootA + "\\Include2;C:\\VC98\\Include");

  EXPECT_EQ(Unregister(), S_OK);
  EXPECT_EQ(DeviceList(0, "Lib Dirs"), u"C:\\SDK\\Lib");
  EXPECT_EQ(DeviceList(0, "Include Dirs"), lookAlike + u";C:\\SDK\\Include");
  EXPECT_EQ(DeviceList(3, "Lib Dirs"), m_rootW + u"\\Lib\\ARMV4T\\Old;C:\\A;C:\\B;");
  EXPECT_EQ(DeviceList(1, "Lib Dirs"), u"") << "a list the kit created is empty again";
  EXPECT_EQ(DesktopList("Library Dirs"), "C:\\VC98\\Lib");
  EXPECT_EQ(DesktopList("Include Dirs"), m_rootA + "\\Include2;C:\\VC98\\Include");
}

TEST_F(VelaSdkRegTest, EntriesMatchWithoutRegardToCaseAndAnywhereInTheList) {
  Load();
  CreateAllKeys();
  std::u16string upper = m_rootW + u"\\INCLUDE";
  SetDeviceList(2, "Include Dirs", u"C:\\A;" + upper);
  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(DeviceList(2, "Include Dirs"), u"C:\\A;" + upper) << "already there";
  EXPECT_EQ(Unregister(), S_OK);
  EXPECT_EQ(DeviceList(2, "Include Dirs"), u"C:\\A") << "the last entry goes with the separator before it";
}

TEST_F(VelaSdkRegTest, ListsOfTheWrongTypeOrTooLongAreLeftAlone) {
  Load();
  CreateAllKeys();
  const DWORD number = 7;
  SetRaw(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[0]), "Lib Dirs", REG_DWORD, &number, 4);
  const std::u16string huge(2100, u'x');  // 4202 bytes: beyond the 4096 read on registering
  SetDeviceList(1, "Include Dirs", huge);
  const std::string longDesktop(5000, 'y');
  SetDesktopList("Library Dirs", longDesktop);
  const std::u16string text = u"C:\\Wide";
  SetRaw(HKEY_CURRENT_USER, kDesktopDirectories, "Include Dirs", REG_BINARY, text.c_str(), text.size() * 2);

  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, velasdkreg::DeviceKeyPath(kDevicePlatforms[0]), "Lib Dirs").first,
            static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(DeviceList(0, "Include Dirs"), m_rootW + u"\\Include;") << "the row goes on";
  EXPECT_EQ(DeviceList(1, "Include Dirs"), huge);
  EXPECT_EQ(DeviceList(1, "Lib Dirs"), m_rootW + u"\\Lib\\ARMV4I;");
  EXPECT_EQ(DesktopList("Library Dirs"), longDesktop);
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, kDesktopDirectories, "Include Dirs").second.size(), text.size() * 2);
}

// The kit installed below a folder with blanks and Japanese names; "ソ" and "表" end in the byte
// 0x5C in code page 932, which must not cut the ANSI root.
TEST_F(VelaSdkRegTest, AKitRootWithBlanksAndJapaneseNames) {
  const std::u16string folder = u"\\Vela Kit\\ソフト 表";
  std::filesystem::create_directories(setuptest::Host(folder));
  std::filesystem::copy_file(VELA_SDKREG_FILE, setuptest::Host(folder + u"\\VelaSdkReg.dll"),
                             std::filesystem::copy_options::overwrite_existing);
  Load((folder + u"\\VelaSdkReg.dll").c_str());
  EXPECT_EQ(m_rootW, folder);
  CreateAllKeys();
  EXPECT_EQ(Register(), S_OK);
  EXPECT_EQ(DeviceList(5, "Include Dirs"), folder + u"\\Include;");
  EXPECT_EQ(Widen(DesktopList("Library Dirs")), folder + u"\\Lib;");
  EXPECT_EQ(Unregister(), S_OK);
  EXPECT_EQ(DeviceList(5, "Include Dirs"), u"");
  EXPECT_EQ(DesktopList("Library Dirs"), "");
}

}  // namespace
