// The registry tool's commands, run directly on a temporary terminal root.
#include <windows.h>
#include <vela/Registry.h>
#include <vela/Utf.h>

#include <gtest/gtest.h>

#include <sstream>

#include "RegToolCommands.h"
#include "ScopedTerminalRoot.h"

namespace {

struct ToolRun {
  int code;
  std::string out;
  std::string err;
};

class RegToolTest : public ::testing::Test {
 protected:
  RegToolTest() { vela::ForgetRegistryCacheForTests(); }
  ~RegToolTest() override { vela::ForgetRegistryCacheForTests(); }

  ToolRun Tool(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int code = vela::regtool::RunCommand(args, in, out, err);
    return {code, out.str(), err.str()};
  }

  std::vector<BYTE> Value(HKEY root, const char16_t* path, const char16_t* name, DWORD* type = nullptr) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD t = 0;
    if (RegQueryValueExW(key, name, nullptr, &t, data.data(), &size) != ERROR_SUCCESS) size = 0;
    RegCloseKey(key);
    data.resize(size);
    if (type) *type = t;
    return data;
  }

  vela::testing::ScopedTerminalRoot root_;
};

std::vector<BYTE> Utf16(std::u16string_view text) {
  std::vector<BYTE> out;
  for (char16_t c : text) {
    out.push_back(static_cast<BYTE>(c & 0xFF));
    out.push_back(static_cast<BYTE>(c >> 8));
  }
  out.insert(out.end(), {0, 0});
  return out;
}

TEST_F(RegToolTest, AddEachTypeAndQueryIt) {
  struct Case {
    std::vector<std::string> args;
    const char16_t* name;
    DWORD type;
    std::vector<BYTE> data;
    const char* shown;
  };
  const Case cases[] = {
      {{"/v", "Owner", "/t", "REG_BINARY", "/d", "text:山田"}, u"Owner", REG_BINARY, Utf16(u"山田"),
       "Owner    REG_BINARY    715C30750000"},
      {{"/v", "Hex", "/t", "REG_BINARY", "/d", "0a,FF 10"}, u"Hex", REG_BINARY, {0x0a, 0xff, 0x10},
       "Hex    REG_BINARY    0AFF10"},
      {{"/v", "Name", "/d", "山田 太郎"}, u"Name", REG_SZ, Utf16(u"山田 太郎"), "Name    REG_SZ    山田 太郎"},
      {{"/ve", "/d", "def"}, u"", REG_SZ, Utf16(u"def"), "(Default)    REG_SZ    def"},
      {{"/v", "N", "/t", "REG_DWORD", "/d", "0x2A"}, u"N", REG_DWORD, {0x2a, 0, 0, 0}, "N    REG_DWORD    0x2a"},
      {{"/v", "Max", "/t", "REG_DWORD", "/d", "4294967295"}, u"Max", REG_DWORD, {255, 255, 255, 255},
       "Max    REG_DWORD    0xffffffff"},
      {{"/v", "Path", "/t", "REG_EXPAND_SZ", "/d", "%TEMP%"}, u"Path", REG_EXPAND_SZ, Utf16(u"%TEMP%"),
       "Path    REG_EXPAND_SZ    %TEMP%"},
      {{"/v", "List", "/t", "REG_MULTI_SZ", "/d", "a\\0b"}, u"List", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0},
       "List    REG_MULTI_SZ    a\\0b"},
      {{"/v", "List2", "/t", "REG_MULTI_SZ", "/s", ";", "/d", "x;y"}, u"List2", REG_MULTI_SZ,
       {'x', 0, 0, 0, 'y', 0, 0, 0, 0, 0}, "List2    REG_MULTI_SZ    x\\0y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    std::vector<std::string> args = {"add", "HKCU\\ControlPanel\\Owner"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun add = Tool(args);
    EXPECT_EQ(add.code, 0) << add.err;
    EXPECT_EQ(add.out, "The operation completed successfully.\n");
    DWORD type = 0;
    EXPECT_EQ(Value(HKEY_CURRENT_USER, u"ControlPanel\\Owner", c.name, &type), c.data);
    EXPECT_EQ(type, c.type);
    const ToolRun query = Tool({"query", "HKEY_CURRENT_USER\\ControlPanel\\Owner", "/v", vela::Utf16ToUtf8(c.name)});
    if (*c.name == 0) continue;
    EXPECT_EQ(query.code, 0);
    EXPECT_EQ(query.out, "\nHKEY_CURRENT_USER\\ControlPanel\\Owner\n    " + std::string(c.shown) + "\n");
  }
  const ToolRun all = Tool({"query", "hkcu\\controlpanel"});
  EXPECT_EQ(all.out, "\nHKEY_CURRENT_USER\\controlpanel\nHKEY_CURRENT_USER\\controlpanel\\Owner\n");
}

TEST_F(RegToolTest, BadInputFailsClearly) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{}, "vela-reg query"},
      {{"frobnicate", "HKCU\\x"}, "Unknown command"},
      {{"add", "HKXX\\x"}, "Invalid key name"},
      {{"add", "HKCU\\x", "/v", "n", "/t", "REG_WHAT"}, "Invalid type"},
      {{"add", "HKCU\\x", "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"}, "invalid REG_DWORD"},
      {{"add", "HKCU\\x", "/v", "n", "/t", "REG_DWORD", "/d", "12abc"}, "invalid REG_DWORD"},
      {{"add", "HKCU\\x", "/v", "n", "/t", "REG_BINARY", "/d", "abc"}, "two digits"},
      {{"add", "HKCU\\x", "/v", "n", "/t", "REG_BINARY", "/d", "zz"}, "invalid hex"},
      {{"add", "HKCU\\x\\\\y"}, "not valid for the registry"},
      {{"query", "HKCU\\missing"}, "unable to find"},
      {{"query", "HKCU", "/v", "missing"}, "unable to find"},
      {{"delete", "HKCU\\missing", "/f"}, "unable to find"},
      {{"delete", "HKCU", "/f"}, "root key"},
      {{"import", "/nonexistent/file.reg"}, "Cannot open"},
      {{"export", "HKCU\\missing", "out.reg"}, "unable to find"},
      {{"query"}, "Invalid syntax"},
      {{"add", "HKCU\\x", "/q"}, "Invalid syntax"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.code, 1) << c.error;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << c.error << "\n" << run.err;
  }
}

TEST_F(RegToolTest, DeleteAsksUnlessForced) {
  ASSERT_EQ(Tool({"add", "HKLM\\Software\\Vela\\Sub", "/v", "x", "/d", "1"}).code, 0);
  ASSERT_EQ(Tool({"add", "HKLM\\Software\\Vela", "/v", "y", "/d", "2"}).code, 0);

  const ToolRun no = Tool({"delete", "HKLM\\Software\\Vela", "/v", "y"}, "n\n");
  EXPECT_EQ(no.code, 1);
  EXPECT_NE(no.out.find("cancelled"), std::string::npos);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, u"Software\\Vela", u"y"), Utf16(u"2"));

  EXPECT_EQ(Tool({"delete", "HKLM\\Software\\Vela", "/v", "y"}, "yes\n").code, 0);
  EXPECT_TRUE(Value(HKEY_LOCAL_MACHINE, u"Software\\Vela", u"y").empty());

  // Overwriting a value asks too.
  EXPECT_EQ(Tool({"add", "HKLM\\Software\\Vela\\Sub", "/v", "x", "/d", "new"}, "\n").code, 1);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, u"Software\\Vela\\Sub", u"x"), Utf16(u"1"));
  EXPECT_EQ(Tool({"add", "HKLM\\Software\\Vela\\Sub", "/v", "x", "/d", "new", "/f"}).code, 0);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, u"Software\\Vela\\Sub", u"x"), Utf16(u"new"));

  EXPECT_EQ(Tool({"delete", "HKLM\\Software\\Vela", "/f"}).code, 0);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Vela", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegToolTest, ExportThenImportGivesTheSameTree) {
  ASSERT_EQ(Tool({"add", "HKCU\\App\\設定", "/v", "名前 \"q\" \\", "/d", "値"}).code, 0);
  ASSERT_EQ(Tool({"add", "HKCU\\App\\Empty"}).code, 0);
  ASSERT_EQ(Tool({"add", "HKCU\\App", "/v", "bin", "/t", "REG_BINARY", "/d", "00ff"}).code, 0);
  const std::string file = root_.Host("app.reg");
  ASSERT_EQ(Tool({"export", "HKCU\\App", file}).code, 0);
  const std::string exported = root_.ReadBytes("app.reg");
  EXPECT_EQ(exported,
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\App]\r\n\"bin\"=hex:00,ff\r\n\r\n"
            "[HKEY_CURRENT_USER\\App\\Empty]\r\n\r\n"
            "[HKEY_CURRENT_USER\\App\\設定]\r\n\"名前 \\\"q\\\" \\\\\"=\"値\"\r\n\r\n");
  // An existing file is not overwritten without being asked.
  EXPECT_EQ(Tool({"export", "HKCU\\App", file}, "no\n").code, 1);

  ASSERT_EQ(Tool({"delete", "HKCU\\App", "/f"}).code, 0);
  const ToolRun import = Tool({"import", file});
  EXPECT_EQ(import.code, 0) << import.err;
  EXPECT_EQ(Value(HKEY_CURRENT_USER, u"App\\設定", u"名前 \"q\" \\"), Utf16(u"値"));
  ASSERT_EQ(Tool({"export", "HKCU\\App", file, "/y"}).code, 0);
  EXPECT_EQ(root_.ReadBytes("app.reg"), exported);
}

TEST_F(RegToolTest, ImportAppliesDeletionsAndReportsBadLines) {
  ASSERT_EQ(Tool({"add", "HKLM\\Old\\Child", "/v", "x", "/d", "1"}).code, 0);
  ASSERT_EQ(Tool({"add", "HKLM\\Keep", "/v", "gone", "/d", "1"}).code, 0);
  root_.WriteBytes("in.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n"
                   "[-HKEY_LOCAL_MACHINE\\Old]\r\n\r\n"
                   "[HKEY_LOCAL_MACHINE\\Keep]\r\n\"gone\"=-\r\n\"n\"=dword:00000010\r\n"
                   "broken line\r\n"
                   "[HKEY_NOWHERE\\X]\r\n");
  const ToolRun run = Tool({"import", root_.Host("in.reg")});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("line 8"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("line 9"), std::string::npos) << run.err;
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Old", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(Value(HKEY_LOCAL_MACHINE, u"Keep", u"gone").empty());
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, u"Keep", u"n"), (std::vector<BYTE>{16, 0, 0, 0}));
}

}  // namespace
