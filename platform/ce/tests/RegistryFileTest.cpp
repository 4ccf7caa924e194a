// The hives as .reg text files: what is written, what survives a reload, damaged files.
#include <vela/RegFile.h>
#include <vela/Utf.h>

#include <cstring>
#include <filesystem>

#include "RegistryTestSupport.h"
#include "debug/DebugChannel.h"

namespace {

using vela::testing::RegistryTest;
using vela::testing::ScopedEnv;

std::vector<BYTE> Bytes(std::string_view s) { return std::vector<BYTE>(s.begin(), s.end()); }

std::vector<BYTE> Utf16(std::u16string_view s, bool terminate = true) {
  std::vector<BYTE> out;
  for (char16_t c : s) {
    out.push_back(static_cast<BYTE>(c & 0xFF));
    out.push_back(static_cast<BYTE>(c >> 8));
  }
  if (terminate) out.insert(out.end(), {0, 0});
  return out;
}

struct StoredValue {
  const char16_t* name;
  DWORD type;
  std::vector<BYTE> data;
};

TEST_F(RegistryTest, EveryValueSurvivesAReload) {
  std::vector<BYTE> longBinary(300);
  for (std::size_t i = 0; i < longBinary.size(); ++i) longBinary[i] = static_cast<BYTE>(i * 7);
  const StoredValue values[] = {
      {u"", REG_SZ, Utf16(u"default")},
      {u"Text", REG_SZ, Utf16(u"山田 \"太郎\" C:\\Windows\\")},
      {u"名前 \"quoted\" back\\slash", REG_DWORD, {0x2a, 0, 0, 0}},
      {u"Expand", REG_EXPAND_SZ, Utf16(u"%TEMP%\\ログ")},
      {u"Multi", REG_MULTI_SZ, Utf16(std::u16string(u"一\0two\0\0", 8), false)},
      {u"Binary", REG_BINARY, longBinary},
      {u"EmptyBinary", REG_BINARY, {}},
      {u"None", REG_NONE, {1, 2}},
      {u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
      {u"ShortDword", REG_DWORD, {1, 2}},
      {u"NoTerminator", REG_SZ, Utf16(u"abc", false)},
      {u"InnerNul", REG_SZ, Utf16(std::u16string(u"a\0b", 3))},
      {u"LineBreak", REG_SZ, Utf16(u"one\r\ntwo")},
      {u"OddString", REG_SZ, Bytes("odd")},
      {u"EmptyString", REG_SZ, {}},
      {u"Type 0x12345", 0x12345, {9}},
  };
  HKEY key = Create(HKEY_CURRENT_USER, u"Round\\Trip [1]");
  for (const StoredValue& v : values) {
    ASSERT_EQ(RegSetValueExW(key, v.name, 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size())),
              ERROR_SUCCESS);
  }
  Create(HKEY_CURRENT_USER, u"Round\\Empty key");

  vela::ForgetRegistryCacheForTests();
  HKEY reread = Open(HKEY_CURRENT_USER, u"round\\trip [1]");
  for (const StoredValue& v : values) {
    SCOPED_TRACE(vela::Utf16ToUtf8(v.name));
    DWORD type = 0;
    EXPECT_EQ(Query(reread, v.name, &type), v.data);
    EXPECT_EQ(type, v.type);
  }
  char16_t name[64];
  DWORD count = 64;
  ASSERT_EQ(RegEnumValueW(reread, 1, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"Text");  // values keep their order
  Open(HKEY_CURRENT_USER, u"Round\\Empty key");

  // The file reads as a person expects.
  const std::string text = root_.ReadBytes("Registry/HKEY_CURRENT_USER.reg");
  for (const char* line : {
           "Windows Registry Editor Version 5.00\r\n\r\n",
           "[HKEY_CURRENT_USER\\Round\\Trip [1]]\r\n",
           "@=\"default\"\r\n",
           "\"Text\"=\"山田 \\\"太郎\\\" C:\\\\Windows\\\\\"\r\n",
           "\"名前 \\\"quoted\\\" back\\\\slash\"=dword:0000002a\r\n",
           "\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,ed,30,b0,30,00,00\r\n",
           "\"EmptyBinary\"=hex:\r\n",
           "\"ShortDword\"=hex(4):01,02\r\n",
           "\"Type 0x12345\"=hex(12345):09\r\n",
           "[HKEY_CURRENT_USER\\Round\\Empty key]\r\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  }
  // Long data wraps before column 80 with a continuation backslash.
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    start = end + 2;
  }
}

TEST_F(RegistryTest, ChangesOnDiskAreSeenWithoutReopening) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Edited");
  SetDword(key, u"n", 1);
  // A person (or another process) replaces the file.
  root_.WriteBytes("Registry/HKEY_LOCAL_MACHINE.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Edited]\r\n"
                   "\"n\"=dword:00000002\r\n\"added\"=\"yes\"\r\n");
  EXPECT_EQ(Query(key, u"n"), (std::vector<BYTE>{2, 0, 0, 0}));
  EXPECT_EQ(QueryString(key, u"added"), u"yes");
  // A file removed is an empty hive; the open handle's key is gone with it.
  std::filesystem::remove(root_.Host("Registry/HKEY_LOCAL_MACHINE.reg"));
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"n", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
}

// A change that cannot be written is reported and not kept in memory either.
TEST_F(RegistryTest, WriteFailuresAreReportedAndNotKept) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Kept");
  std::filesystem::create_directory(root_.Host("Registry/HKEY_CURRENT_USER.reg.new"));
  const DWORD number = 1;
  EXPECT_EQ(RegSetValueExW(key, u"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_CANTWRITE);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"n", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  std::filesystem::remove(root_.Host("Registry/HKEY_CURRENT_USER.reg.new"));
  SetDword(key, u"n", 2);
  EXPECT_FALSE(std::filesystem::exists(root_.Host("Registry/HKEY_CURRENT_USER.reg.new")));

  // No folder can be made for the hives.
  root_.WriteBytes("Registry2", "");
  std::filesystem::remove_all(root_.Host("Registry"));
  std::filesystem::rename(root_.Host("Registry2"), root_.Host("Registry"));
  HKEY out = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"x", 0, nullptr, 0, 0, nullptr, &out, nullptr), ERROR_CANTWRITE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"x", 0, 0, &out), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DesktopRegistryHasItsOwnHives) {
  const std::string desktop = vela::testing::MakeTempFolder();
  {
    ScopedEnv env("VELA_DESKTOP_ROOT", desktop);
    vela::SelectRegistry(vela::RegistrySide::Desktop);
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Desk");
    SetDword(key, u"n", 1);
    EXPECT_EQ(vela::RegistryFolder(), desktop + "/Registry");
    vela::SelectRegistry(vela::RegistrySide::Terminal);
    // The open key stays with the desktop's hive.
    SetDword(key, u"m", 2);
  }
  EXPECT_TRUE(std::filesystem::exists(desktop + "/Registry/HKEY_LOCAL_MACHINE.reg"));
  EXPECT_FALSE(std::filesystem::exists(root_.Host("Registry/HKEY_LOCAL_MACHINE.reg")));
  HKEY out = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Desk", 0, 0, &out), ERROR_FILE_NOT_FOUND);
  std::filesystem::remove_all(desktop);
}

// What the reader makes of each kind of line.
TEST(RegFileParse, LinesAndTheirDamage) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t sections;
    std::size_t values;
    int damagedLine;  // 0: no damage
  };
  const std::string h = "Windows Registry Editor Version 5.00\r\n";
  const Case cases[] = {
      {"plain", h + "[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n", 1, 1, 0},
      {"comment_and_blank", h + "; note\r\n\r\n[HKCU\\A]\r\n  @=dword:1  \r\n", 1, 1, 0},
      {"lf_only", h + "[HKCU\\A]\n\"x\"=hex:01,02\n", 1, 1, 0},
      {"continued_hex", h + "[HKCU\\A]\r\n\"x\"=hex:01,02,\\\r\n  03,04\r\n", 1, 1, 0},
      {"garbage_line", h + "[HKCU\\A]\r\nthis is not a value\r\n\"y\"=\"2\"\r\n", 1, 1, 3},
      {"unterminated_string", h + "[HKCU\\A]\r\n\"x\"=\"abc\r\n\"y\"=\"2\"\r\n", 1, 1, 3},
      {"unterminated_name", h + "[HKCU\\A]\r\n\"x=\"abc\r\n", 1, 0, 3},
      {"truncated_hex", h + "[HKCU\\A]\r\n\"x\"=hex:01,02,", 1, 0, 3},
      {"continuation_at_end", h + "[HKCU\\A]\r\n\"x\"=hex:01,02,\\", 1, 0, 3},
      {"bad_dword", h + "[HKCU\\A]\r\n\"x\"=dword:123456789\r\n", 1, 0, 3},
      {"bad_hex_type", h + "[HKCU\\A]\r\n\"x\"=hex(zz):01\r\n", 1, 0, 3},
      {"three_digit_byte", h + "[HKCU\\A]\r\n\"x\"=hex:123\r\n", 1, 0, 3},
      {"unterminated_header", h + "[HKCU\\A\r\n\"x\"=\"1\"\r\n[HKCU\\B]\r\n\"y\"=\"2\"\r\n", 1, 1, 2},
      {"value_before_key", h + "\"x\"=\"1\"\r\n[HKCU\\B]\r\n", 1, 0, 2},
      {"text_after_string", h + "[HKCU\\A]\r\n\"x\"=\"1\" junk\r\n", 1, 0, 3},
      {"invalid_utf8", h + "[HKCU\\A]\r\n\"x\"=\"\xff\xfe\"\r\n", 1, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const vela::regfile::Document doc = vela::regfile::Parse(c.text);
    EXPECT_TRUE(doc.header);
    ASSERT_EQ(doc.sections.size(), c.sections);
    std::size_t values = 0;
    for (const auto& section : doc.sections) values += section.values.size();
    EXPECT_EQ(values, c.values);
    if (c.damagedLine) {
      ASSERT_FALSE(doc.damage.empty());
      EXPECT_EQ(doc.damage.front().line, c.damagedLine);
    } else {
      EXPECT_TRUE(doc.damage.empty()) << doc.damage.front().reason;
    }
  }
}

TEST(RegFileParse, Utf16FileWithDeletions) {
  const std::u16string text =
      u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\Old]\r\n\r\n"
      u"[HKEY_CURRENT_USER\\新]\r\n\"値\"=-\r\n\"x\"=\"日本\"\r\n";
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  const vela::regfile::Document doc = vela::regfile::Parse(bytes);
  EXPECT_TRUE(doc.header);
  EXPECT_TRUE(doc.damage.empty());
  ASSERT_EQ(doc.sections.size(), 2u);
  EXPECT_TRUE(doc.sections[0].remove);
  EXPECT_EQ(doc.sections[0].path, u"HKEY_CURRENT_USER\\Old");
  EXPECT_EQ(doc.sections[1].path, u"HKEY_CURRENT_USER\\新");
  ASSERT_EQ(doc.sections[1].values.size(), 2u);
  EXPECT_TRUE(doc.sections[1].values[0].remove);
  EXPECT_EQ(doc.sections[1].values[1].data, Utf16(u"日本"));
}

class DamagedHiveTest : public RegistryTest {
 protected:
  DamagedHiveTest() : debugLog_(root_.Host("debug.log")), env_("VELA_DEBUG", debugLog_) {
    vela::debug::ResetDebugChannelForTests();
  }
  ~DamagedHiveTest() override { vela::debug::ResetDebugChannelForTests(); }

  std::string debugLog_;
  ScopedEnv env_;
};

TEST_F(DamagedHiveTest, KeepsWhatItCanReadAndSetsTheFileAside) {
  const std::string damaged =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\ControlPanel\\Owner]\r\n"
      "\"Owner\"=hex:71,5c,30,75,00,00\r\n"
      "%%% garbage %%%\r\n"
      "[HKEY_CURRENT_USER\\Broken\r\n"
      "\"lost\"=\"value\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Elsewhere]\r\n"
      "[HKEY_CURRENT_USER\\Later]\r\n"
      "\"kept\"=dword:00000001\r\n"
      "\"cut\"=hex:01,0";
  root_.MakeFolder("Registry");
  root_.WriteBytes("Registry/HKEY_CURRENT_USER.reg", damaged);

  HKEY owner = Open(HKEY_CURRENT_USER, u"ControlPanel\\Owner");
  EXPECT_EQ(QueryString(owner, u"Owner"), u"山田");
  HKEY later = Open(HKEY_CURRENT_USER, u"Later");
  EXPECT_EQ(Query(later, u"kept"), (std::vector<BYTE>{1, 0, 0, 0}));
  EXPECT_EQ(Query(later, u"cut"), (std::vector<BYTE>{1, 0}));
  HKEY out = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Broken", 0, 0, &out), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Elsewhere", 0, 0, &out), ERROR_FILE_NOT_FOUND);

  const std::string log = root_.ReadBytes("debug.log");
  for (const char* expected : {"line 5", "line 6", "line 7", "line 8", "line 11: no line end", "kept aside"}) {
    EXPECT_NE(log.find(expected), std::string::npos) << expected << "\nin\n" << log;
  }
  // Nothing is set aside while nothing changes.
  EXPECT_FALSE(std::filesystem::exists(root_.Host("Registry/HKEY_CURRENT_USER.reg.damaged-1")));

  SetDword(later, u"new", 2);
  EXPECT_EQ(root_.ReadBytes("Registry/HKEY_CURRENT_USER.reg.damaged-1"), damaged);
  const std::string rewritten = root_.ReadBytes("Registry/HKEY_CURRENT_USER.reg");
  EXPECT_EQ(vela::regfile::Parse(rewritten).damage.size(), 0u);
  EXPECT_NE(rewritten.find("\"Owner\"=hex:71,5c,30,75,00,00"), std::string::npos);

  // The next damaged file gets the next number.
  root_.WriteBytes("Registry/HKEY_CURRENT_USER.reg", "not a registry file\n");
  SetDword(Create(HKEY_CURRENT_USER, u"Later"), u"again", 3);
  EXPECT_EQ(root_.ReadBytes("Registry/HKEY_CURRENT_USER.reg.damaged-2"), "not a registry file\n");
  EXPECT_EQ(Query(Open(HKEY_CURRENT_USER, u"Later"), u"again"), (std::vector<BYTE>{3, 0, 0, 0}));
}

}  // namespace
