// The desktop launcher's one step, run in-process: its messages reach standard error (nobody
// watches a screen here) and the application manager's start is seen in the shell's records.
#include <shellapi.h>
#include <vela/Terminal.h>
#include <vela/Utf.h>

#include <string>

#include "SetupTestSupport.h"
#include "VelaDeskApp.h"

namespace {

constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
const std::string kNotFound =
    "ActiveSyncが見つかりませんでした。\n\nActiveSyncをインストールした後で、再度実行してください。";
const std::string kBadParameter = "起動パラメータに誤りがあります。";

class VelaDeskTest : public ::testing::Test {
 protected:
  VelaDeskTest() {
    setuptest::UseOneRootForBothSides();
    vela::SelectRegistry(vela::RegistrySide::Desktop);
    setuptest::ForgetRegistry();
    m_executesBefore = vela::terminal::Get().GetRecords().shellExecutes.size();
  }
  ~VelaDeskTest() override {
    setuptest::ForgetRegistry();
    vela::SelectRegistry(vela::RegistrySide::Terminal);
    vela::ShowMessageBoxesOnStandardError(false);
  }

  static void RegisterAppManager(DWORD type, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPaths, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  // Runs the launcher with the command line; returns what it wrote to standard error.
  std::string Launch(const std::u16string& commandLine) {
    CVelaDeskApp app;
    std::u16string line = commandLine;
    app.SetStartup(nullptr, line.data(), SW_SHOWNORMAL);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(app.InitInstance()) << "the launcher never runs a message loop";
    return ::testing::internal::GetCapturedStderr();
  }
  // Captioned with the program's name: here the test program's.
  static std::string Box(const std::string& text) { return "[setup_tests] " + text + "\n"; }

  // What the launchers of this test started.
  std::vector<vela::terminal::ShellExecuteRequest> Started() const {
    auto all = vela::terminal::Get().GetRecords().shellExecutes;
    return {all.begin() + static_cast<std::ptrdiff_t>(m_executesBefore), all.end()};
  }

  size_t m_executesBefore = 0;
};

TEST_F(VelaDeskTest, WithoutAPlainArgumentItAsksForTheRightParameters) {
  RegisterAppManager(REG_SZ, "\\Tools\\CEAppMgr.exe");
  EXPECT_EQ(Launch(u""), Box(kBadParameter));
  EXPECT_EQ(Launch(u"/p"), Box(kBadParameter));
  EXPECT_EQ(Launch(u"/p kit.ini"), Box(kBadParameter)) << "a print request is no file-open request";
  EXPECT_EQ(Launch(u"kit.ini /dde"), Box(kBadParameter));
  EXPECT_EQ(Launch(u"-Unregister kit.ini"), Box(kBadParameter));
  EXPECT_TRUE(Started().empty());
}

TEST_F(VelaDeskTest, StartsTheApplicationManagerWithTheQuotedPath) {
  RegisterAppManager(REG_SZ, "\\Tools\\CEAppMgr.exe");
  EXPECT_EQ(Launch(u"\"C:\\Program Files\\Vela Kit\\Setup.ini\""), "");
  EXPECT_EQ(Launch(u"\"\\データ\\ソフト 表.ini\""), "") << "a path in the ANSI code page, with 0x5C trail bytes";
  EXPECT_EQ(Launch(u"/Embedding missing.ini"), "") << "switches of no meaning here are ignored";
  const auto started = Started();
  ASSERT_EQ(started.size(), 3u);
  EXPECT_EQ(started[0].file, u"\\Tools\\CEAppMgr.exe");
  EXPECT_EQ(started[0].parameters, u"\"C:\\Program Files\\Vela Kit\\Setup.ini\"");
  EXPECT_EQ(started[0].verb, u"");
  EXPECT_EQ(started[0].show, SW_SHOW);
  EXPECT_EQ(started[1].parameters, u"\"\\データ\\ソフト 表.ini\"");
  EXPECT_EQ(started[2].parameters, u"\"missing.ini\"") << "the file need not exist";
}

TEST_F(VelaDeskTest, WithoutARegisteredApplicationManagerItSaysItWasNotFound) {
  EXPECT_EQ(Launch(u"kit.ini"), Box(kNotFound));
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPaths, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(Launch(u"kit.ini"), Box(kNotFound)) << "the key without its default value";
  RegisterAppManager(REG_SZ, "");
  EXPECT_EQ(Launch(u"kit.ini"), Box(kNotFound)) << "an empty path names nothing";
  EXPECT_TRUE(Started().empty());
}

// Values and arguments longer than the launcher's buffers are refused, never overrun.
TEST_F(VelaDeskTest, WhatDoesNotFitItsBuffersIsRefused) {
  RegisterAppManager(REG_SZ, "\\" + std::string(259, 'm'));  // 261 bytes with the terminator
  EXPECT_EQ(Launch(u"kit.ini"), Box(kNotFound));
  const DWORD number = 1;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppPaths, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  EXPECT_EQ(Launch(u"kit.ini"), Box(kNotFound)) << "a number is no path";

  const std::string longest = "\\" + std::string(258, 'm');  // 260 bytes: just fits
  RegisterAppManager(REG_SZ, longest);
  const std::u16string fits(1021, u'f');  // quotes and terminator make 1024 bytes
  EXPECT_EQ(Launch(fits), "");
  EXPECT_EQ(Launch(fits + u"g"), Box(kBadParameter));
  EXPECT_EQ(Launch(u"\"\\" + std::u16string(511, u'表') + u"\""), Box(kBadParameter)) << "1023 bytes of path";
  EXPECT_EQ(Launch(u"kit\uD55C.ini"), Box(kBadParameter)) << "a character the ANSI code page lacks";
  const auto started = Started();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].file, vela::Utf8ToUtf16(longest));
  EXPECT_EQ(started[0].parameters.size(), 1023u);
}

TEST(VelaDeskStrings, AreJapaneseAndCutWithoutSplittingACharacter) {
  char text[512];
  ASSERT_GT(LoadStringA(nullptr, 1001, text, sizeof text), 0);
  int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
  wide.pop_back();
  EXPECT_EQ(vela::Utf16ToUtf8(wide), kBadParameter);
  char small[4];
  EXPECT_EQ(LoadStringA(nullptr, 1001, small, sizeof small), 2) << "one double-byte character; a half would follow";
  EXPECT_EQ(std::string(small), "\x8B\x4E");
  EXPECT_EQ(LoadStringA(nullptr, 1001, small, 0), 0);
  EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128)), nullptr) << "the program icon";
}

}  // namespace
