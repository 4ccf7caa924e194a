// The registry functions' results, sizes and handle rules, W and A forms.
#include <cstring>

#include "RegistryTestSupport.h"

namespace {

using vela::testing::kMarker;
using vela::testing::RegistryTest;

#define EXPECT_REG(call, expected)                      \
  do {                                                  \
    SetLastError(kMarker);                              \
    EXPECT_EQ((call), static_cast<LONG>(expected));     \
    EXPECT_EQ(GetLastError(), kMarker) << #call;        \
  } while (0)

TEST_F(RegistryTest, OpenAndCreateResults) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_REG(RegOpenKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Owner", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);

  DWORD disposition = 0;
  EXPECT_REG(RegCreateKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Owner", 0, nullptr, 0, 0, nullptr, &key,
                             &disposition),
             ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  open_.push_back(key);
  EXPECT_REG(RegCreateKeyExW(HKEY_CURRENT_USER, u"CONTROLPANEL\\owner\\", 0, nullptr, 0, 0, nullptr, &key,
                             &disposition),
             ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  open_.push_back(key);

  struct Case {
    HKEY parent;
    const char16_t* path;
    PHKEY result;
    LONG expected;
  };
  HKEY out = nullptr;
  const Case cases[] = {
      {HKEY_CURRENT_USER, u"controlpanel\\OWNER", &out, ERROR_SUCCESS},  // case-blind
      {HKEY_CURRENT_USER, nullptr, &out, ERROR_SUCCESS},                 // the key itself
      {HKEY_CURRENT_USER, u"ControlPanel", nullptr, ERROR_INVALID_PARAMETER},
      {HKEY_CURRENT_USER, u"\\ControlPanel", &out, ERROR_INVALID_PARAMETER},
      {HKEY_CURRENT_USER, u"ControlPanel\\\\Owner", &out, ERROR_INVALID_PARAMETER},
      {HKEY_CURRENT_USER, u"Control\nPanel", &out, ERROR_INVALID_PARAMETER},
      {HKEY_LOCAL_MACHINE, u"ControlPanel", &out, ERROR_FILE_NOT_FOUND},  // another hive
      {nullptr, u"ControlPanel", &out, ERROR_INVALID_HANDLE},
      {reinterpret_cast<HKEY>(0x12345678), u"ControlPanel", &out, ERROR_INVALID_HANDLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path ? std::string(c.path, c.path + std::char_traits<char16_t>::length(c.path)) : "null");
    EXPECT_REG(RegOpenKeyExW(c.parent, c.path, 0, KEY_READ, c.result), c.expected);
    if (c.expected == ERROR_SUCCESS) {
      EXPECT_EQ(RegCloseKey(out), ERROR_SUCCESS);
    }
  }

  const std::u16string longName(256, u'k');
  EXPECT_REG(RegCreateKeyExW(HKEY_CURRENT_USER, longName.c_str(), 0, nullptr, 0, 0, nullptr, &out, nullptr),
             ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegCreateKeyExW(HKEY_CURRENT_USER, u"x", 0, nullptr, 0, 0, nullptr, nullptr, nullptr),
             ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, HandlesLiveUntilClosed) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Vela");
  HKEY sub = nullptr;
  // A handle opened relative to another stays valid after the other is closed.
  ASSERT_EQ(RegCreateKeyExW(key, u"Sub", 0, nullptr, 0, 0, nullptr, &sub, nullptr), ERROR_SUCCESS);
  EXPECT_REG(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_REG(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_REG(RegQueryValueExW(key, u"x", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
  SetDword(sub, u"n", 7);
  EXPECT_REG(RegFlushKey(sub), ERROR_SUCCESS);

  // Predefined keys need no closing, and closing one does no harm.
  EXPECT_REG(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  EXPECT_REG(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_REG(RegFlushKey(nullptr), ERROR_INVALID_HANDLE);

  // A key deleted under an open handle: the handle is still valid, its key is gone.
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software"), ERROR_SUCCESS);
  EXPECT_REG(RegSetValueExW(sub, u"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>("abcd"), 4), ERROR_KEY_DELETED);
  EXPECT_REG(RegQueryValueExW(sub, u"n", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  EXPECT_REG(RegCloseKey(sub), ERROR_SUCCESS);
}

TEST_F(RegistryTest, QueryValueSizes) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Sizes");
  SetString(key, u"Text", u"abc");
  SetString(key, nullptr, u"default");

  DWORD type = kMarker;
  DWORD size = 0;
  EXPECT_REG(RegQueryValueExW(key, u"TEXT", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 8u);  // bytes, terminator included

  BYTE small[7];
  std::memset(small, 0x55, sizeof small);
  size = sizeof small;
  EXPECT_REG(RegQueryValueExW(key, u"Text", nullptr, &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(small[6], 0x55);  // nothing written past what the caller gave

  char16_t text[4];
  size = sizeof text;
  EXPECT_REG(RegQueryValueExW(key, u"Text", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(text), u"abc");

  // Empty name and NULL both name the default value.
  EXPECT_EQ(QueryString(key, u""), u"default");
  EXPECT_REG(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

  DWORD reserved = 0;
  EXPECT_REG(RegQueryValueExW(key, u"Text", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegQueryValueExW(key, u"Text", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

  // Values keep their bytes exactly, whatever the type says.
  EXPECT_REG(RegSetValueExW(key, u"Odd", 0, REG_SZ, reinterpret_cast<const BYTE*>("xyz"), 3), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, u"Odd"), (std::vector<BYTE>{'x', 'y', 'z'}));
  EXPECT_REG(RegSetValueExW(key, u"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  size = 99;
  EXPECT_REG(RegQueryValueExW(key, u"Empty", nullptr, &type, small, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 0u);
  EXPECT_REG(RegSetValueExW(key, u"Bad", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegSetValueExW(key, u"Line\nBreak", 0, REG_BINARY, small, 1), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, DeleteValueAndKey) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Del\\Child\\Grandchild");
  SetDword(key, u"v", 1);
  HKEY del = Open(HKEY_CURRENT_USER, u"Del");
  SetDword(del, u"v", 1);

  EXPECT_REG(RegDeleteValueW(del, u"V"), ERROR_SUCCESS);
  EXPECT_REG(RegDeleteValueW(del, u"v"), ERROR_FILE_NOT_FOUND);
  EXPECT_REG(RegDeleteValueW(del, nullptr), ERROR_FILE_NOT_FOUND);

  EXPECT_REG(RegDeleteKeyW(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);
  EXPECT_REG(RegDeleteKeyW(HKEY_CURRENT_USER, u"Nothing"), ERROR_FILE_NOT_FOUND);
  // The whole subtree goes, as on the terminal.
  EXPECT_REG(RegDeleteKeyW(del, u"child"), ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_REG(RegOpenKeyExW(HKEY_CURRENT_USER, u"Del\\Child\\Grandchild", 0, 0, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_REG(RegOpenKeyExW(HKEY_CURRENT_USER, u"Del", 0, 0, &gone), ERROR_SUCCESS);
  RegCloseKey(gone);
  // An empty name deletes the opened key itself.
  EXPECT_REG(RegDeleteKeyW(del, u""), ERROR_SUCCESS);
  EXPECT_REG(RegOpenKeyExW(HKEY_CURRENT_USER, u"Del", 0, 0, &gone), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, EnumerationOrderAndEnd) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Enum");
  for (const char16_t* name : {u"beta", u"Alpha", u"gamma", u"ALPHA2"}) Create(key, name);
  SetDword(key, u"z", 1);
  SetDword(key, u"a", 2);
  SetString(key, u"m", u"text");
  SetDword(key, u"z", 3);  // setting again keeps the place

  std::vector<std::u16string> keys;
  for (DWORD i = 0;; ++i) {
    char16_t name[16];
    DWORD count = 16;
    const LONG status = RegEnumKeyExW(key, i, name, &count, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    EXPECT_EQ(count, std::char_traits<char16_t>::length(name));
    keys.push_back(name);
  }
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"Alpha", u"ALPHA2", u"beta", u"gamma"}));

  std::vector<std::u16string> values;
  for (DWORD i = 0;; ++i) {
    char16_t name[16];
    DWORD count = 16;
    const LONG status = RegEnumValueW(key, i, name, &count, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    values.push_back(name);
  }
  EXPECT_EQ(values, (std::vector<std::u16string>{u"z", u"a", u"m"}));

  // Names that do not fit: ERROR_MORE_DATA, the count left as it was.
  char16_t name[8] = {};
  DWORD count = 5;  // "Alpha" needs 6 with its terminator
  EXPECT_REG(RegEnumKeyExW(key, 0, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(count, 5u);
  count = 1;
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_REG(RegEnumValueW(key, 2, name, &count, nullptr, &type, nullptr, &size), ERROR_MORE_DATA);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 10u);
  // Data that does not fit: the size needed, the name count untouched.
  BYTE data[4];
  count = 8;
  size = sizeof data;
  EXPECT_REG(RegEnumValueW(key, 2, name, &count, nullptr, &type, data, &size), ERROR_MORE_DATA);
  EXPECT_EQ(count, 8u);
  EXPECT_EQ(size, 10u);

  EXPECT_REG(RegEnumKeyExW(key, 0, nullptr, &count, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegEnumValueW(key, 0, name, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_REG(RegEnumKeyExW(nullptr, 0, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);

  DWORD subkeys = 0, maxSubkey = 0, values2 = 0, maxName = 0, maxData = 0;
  EXPECT_REG(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values2, &maxName,
                              &maxData, nullptr, nullptr),
             ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 4u);
  EXPECT_EQ(maxSubkey, 6u);
  EXPECT_EQ(values2, 3u);
  EXPECT_EQ(maxName, 1u);
  EXPECT_EQ(maxData, 10u);
}

TEST_F(RegistryTest, AnsiFormsConvertThroughCodePage932) {
  // "山田" in code page 932, and "設定" as a key name.
  const char yamada[] = "\x8e\x52\x93\x63";
  const char settei[] = "\x90\xdd\x92\xe8";
  HKEY key = nullptr;
  DWORD disposition = 0;
  EXPECT_REG(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string("Owner\\") + settei).c_str(), 0, nullptr, 0, 0,
                             nullptr, &key, &disposition),
             ERROR_SUCCESS);
  open_.push_back(key);
  EXPECT_REG(RegSetValueExA(key, yamada, 0, REG_SZ, reinterpret_cast<const BYTE*>(yamada), 5), ERROR_SUCCESS);
  const BYTE raw[] = {0x8e, 0x52};  // binary data is not converted
  EXPECT_REG(RegSetValueExA(key, "bin", 0, REG_BINARY, raw, 2), ERROR_SUCCESS);

  // Seen through the W forms, the names and text are UTF-16.
  HKEY wide = Open(HKEY_CURRENT_USER, u"Owner\\設定");
  EXPECT_EQ(QueryString(wide, u"山田"), u"山田");
  EXPECT_EQ(Query(wide, u"bin"), (std::vector<BYTE>{0x8e, 0x52}));

  // Sizes in bytes of the converted text: 4 + terminator, against 6 bytes of UTF-16.
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_REG(RegQueryValueExA(key, yamada, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);
  char text[5];
  size = 4;
  EXPECT_REG(RegQueryValueExA(key, yamada, nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  EXPECT_REG(RegQueryValueExA(key, yamada, nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, yamada);

  char name[8];
  DWORD count = 4;  // the name needs 4 bytes and its terminator
  EXPECT_REG(RegEnumKeyExA(Open(HKEY_CURRENT_USER, u"Owner"), 0, name, &count, nullptr, nullptr, nullptr, nullptr),
             ERROR_MORE_DATA);
  count = sizeof name;
  EXPECT_REG(RegEnumKeyExA(Open(HKEY_CURRENT_USER, u"Owner"), 0, name, &count, nullptr, nullptr, nullptr, nullptr),
             ERROR_SUCCESS);
  EXPECT_STREQ(name, settei);
  EXPECT_EQ(count, 4u);

  count = sizeof name;
  size = sizeof text;
  EXPECT_REG(RegEnumValueA(key, 0, name, &count, nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
             ERROR_SUCCESS);
  EXPECT_STREQ(name, yamada);
  EXPECT_EQ(size, 5u);

  DWORD maxName = 0;
  EXPECT_REG(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr,
                              nullptr, nullptr),
             ERROR_SUCCESS);
  EXPECT_EQ(maxName, 4u);  // bytes of the converted name, not characters

  HKEY found = nullptr;
  EXPECT_REG(RegOpenKeyExA(HKEY_CURRENT_USER, "OWNER", 0, 0, &found), ERROR_SUCCESS);
  RegCloseKey(found);
  EXPECT_REG(RegDeleteValueA(key, yamada), ERROR_SUCCESS);
  EXPECT_REG(RegDeleteKeyA(HKEY_CURRENT_USER, "Owner"), ERROR_SUCCESS);
  EXPECT_REG(RegDeleteKeyA(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, OwnerValueAsTheLoggingLibraryReadsIt) {
  const char16_t owner[] = u"山田 太郎";
  std::vector<BYTE> value(556, 0);
  std::memcpy(value.data(), owner, sizeof owner);
  HKEY key = Create(HKEY_CURRENT_USER, u"ControlPanel\\Owner");
  ASSERT_EQ(RegSetValueExW(key, u"Owner", 0, REG_BINARY, value.data(), static_cast<DWORD>(value.size())),
            ERROR_SUCCESS);

  HKEY read = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Owner", 0, KEY_READ, &read), ERROR_SUCCESS);
  BYTE buffer[556];
  DWORD size = sizeof buffer;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(read, u"Owner", nullptr, &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer)), owner);
  EXPECT_EQ(RegCloseKey(read), ERROR_SUCCESS);
}

}  // namespace
