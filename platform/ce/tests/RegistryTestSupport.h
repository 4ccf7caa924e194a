// A fresh terminal root and an empty registry for each registry test.
#pragma once

#include <windows.h>
#include <vela/Registry.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ScopedTerminalRoot.h"

namespace vela::testing {

constexpr DWORD kMarker = 0xdeadbeef;

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() {
    vela::SelectRegistry(vela::RegistrySide::Terminal);
    vela::ForgetRegistryCacheForTests();
  }
  ~RegistryTest() override {
    for (HKEY key : open_) RegCloseKey(key);
    vela::ForgetRegistryCacheForTests();
  }

  // Creates (or opens) a key that is closed at the end of the test.
  HKEY Create(HKEY parent, const char16_t* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    open_.push_back(key);
    return key;
  }
  HKEY Open(HKEY parent, const char16_t* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(parent, path, 0, KEY_READ, &key), ERROR_SUCCESS);
    open_.push_back(key);
    return key;
  }
  static void SetString(HKEY key, const char16_t* name, std::u16string_view text) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                             static_cast<DWORD>((text.size() + 1) * 2)),
              ERROR_SUCCESS);
  }
  static void SetDword(HKEY key, const char16_t* name, DWORD number) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
              ERROR_SUCCESS);
  }
  // The value's type and bytes, or an empty vector with type REG_NONE when it is missing.
  static std::vector<BYTE> Query(HKEY key, const char16_t* name, DWORD* type = nullptr) {
    DWORD size = 0;
    DWORD t = REG_NONE;
    if (RegQueryValueExW(key, name, nullptr, &t, nullptr, &size) != ERROR_SUCCESS) {
      if (type) *type = REG_NONE;
      return {};
    }
    std::vector<BYTE> data(size);
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, &t, data.data(), &size), ERROR_SUCCESS);
    data.resize(size);
    if (type) *type = t;
    return data;
  }
  static std::u16string QueryString(HKEY key, const char16_t* name) {
    const std::vector<BYTE> data = Query(key, name);
    std::u16string text(data.size() / 2, u'\0');
    std::memcpy(text.data(), data.data(), text.size() * 2);
    if (!text.empty() && text.back() == 0) text.pop_back();
    return text;
  }

  ScopedTerminalRoot root_;
  std::vector<HKEY> open_;
};

}  // namespace vela::testing
