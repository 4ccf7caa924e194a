// Storage volumes: arrival and removal are WM_DEVICECHANGE broadcasts naming the volume, and
// the volume's folder is there exactly while it is inserted, its files kept across removal.
#include <windows.h>

#include <dbt.h>
#include <gtest/gtest.h>
#include <vela/Input.h>
#include <vela/Terminal.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ScopedTerminalRoot.h"

namespace {

struct Broadcast {
  HWND hwnd;
  WPARAM event;
  DWORD size;
  DWORD type;
  std::u16string name;
  bool folderThere;  // the volume's folder as the window saw it
};

std::vector<Broadcast> g_seen;

bool FolderExists(const std::u16string& name) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(name.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    return false;
  }
  FindClose(search);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

LRESULT CALLBACK DeviceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DEVICECHANGE) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    // The name as the framework reads it: UTF-16 at byte offset 12.
    const auto* name = reinterpret_cast<const char16_t*>(reinterpret_cast<const BYTE*>(lParam) + 12);
    g_seen.push_back({hwnd, wParam, header->dbch_size, header->dbch_devicetype, name, FolderExists(name)});
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void SetVolumes(std::vector<std::string> volumes) {
  vela::terminal::Get().Update([&](vela::terminal::State& s) { s.identity.volumes = volumes; });
}

class DeviceChangeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DeviceProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = u"DeviceChangeTest";
    RegisterClassW(&wc);
  }
  void SetUp() override {
    vela::terminal::Get().ResetForTests();
    g_seen.clear();
  }
  void TearDown() override {
    for (HWND h : windows_) {
      DestroyWindow(h);
    }
    vela::input::PumpUntilIdle();
    vela::terminal::Get().ResetForTests();
  }
  HWND Make(DWORD style, HWND parent = nullptr) {
    HWND h = CreateWindowExW(0, u"DeviceChangeTest", nullptr, style, 0, 0, 20, 20, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!parent) {
      windows_.push_back(h);
    }
    return h;
  }
  vela::testing::ScopedTerminalRoot root_;
  std::vector<HWND> windows_;
};

TEST_F(DeviceChangeTest, ArrivalAndRemovalReachEveryTopLevelWindowAfterTheFolderChanged) {
  HWND shown = Make(WS_POPUP | WS_VISIBLE);
  HWND hidden = Make(WS_POPUP);
  HWND child = Make(WS_CHILD | WS_VISIBLE, shown);
  ASSERT_FALSE(FolderExists(u"\\Storage Card"));

  SetVolumes({"Storage Card"});
  ASSERT_EQ(g_seen.size(), 2u);  // both top-level windows, not the child
  for (const Broadcast& b : g_seen) {
    EXPECT_NE(b.hwnd, child);
    EXPECT_EQ(b.event, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
    EXPECT_EQ(b.type, static_cast<DWORD>(DBT_DEVTYP_PORT));
    EXPECT_EQ(b.name, u"Storage Card");
    EXPECT_EQ(b.size, 12u + sizeof(u"Storage Card"));
    EXPECT_TRUE(b.folderThere);  // the framework looks for the volume when told
  }
  EXPECT_TRUE(std::any_of(g_seen.begin(), g_seen.end(), [&](const Broadcast& b) { return b.hwnd == hidden; }));
  // Found under its name, relative as the framework asks, and from the root.
  EXPECT_TRUE(FolderExists(u"Storage Card"));
  EXPECT_TRUE(FolderExists(u"\\storage card"));

  g_seen.clear();
  SetVolumes({});
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].event, static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE));
  EXPECT_EQ(g_seen[0].name, u"Storage Card");
  EXPECT_FALSE(g_seen[0].folderThere);
  SetLastError(0);
  EXPECT_FALSE(FolderExists(u"\\Storage Card"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(DeviceChangeTest, FilesOnARemovedVolumeComeBackWithIt) {
  SetVolumes({"Storage Card"});
  HANDLE file = CreateFileW(u"\\Storage Card\\data.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "kept", 4, &written, nullptr));
  CloseHandle(file);

  SetVolumes({});
  EXPECT_EQ(GetFileAttributesW(u"\\Storage Card\\data.txt"), INVALID_FILE_ATTRIBUTES);
  SetVolumes({"Storage Card", "SD Card"});
  EXPECT_NE(GetFileAttributesW(u"\\Storage Card\\data.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(FolderExists(u"\\SD Card"));
}

TEST_F(DeviceChangeTest, OnlyChangedVolumesAreToldAndUnusableNamesMakeNoFolder) {
  Make(WS_POPUP);
  SetVolumes({"A", "B"});
  g_seen.clear();
  SetVolumes({"B", "C"});
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].event, static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE));
  EXPECT_EQ(g_seen[0].name, u"A");
  EXPECT_EQ(g_seen[1].event, static_cast<WPARAM>(DBT_DEVICEARRIVAL));
  EXPECT_EQ(g_seen[1].name, u"C");

  g_seen.clear();
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.identity.systemName = "B"; });
  SetVolumes({"B", "C", "..", "x\\y"});
  EXPECT_TRUE(g_seen.empty());
  EXPECT_FALSE(FolderExists(u"\\x"));

  // A reset of the model leaves the folders and tells nobody.
  vela::terminal::Get().ResetForTests();
  EXPECT_TRUE(g_seen.empty());
  EXPECT_TRUE(FolderExists(u"\\B"));
}

TEST_F(DeviceChangeTest, VolumesOfTheStartingStateHaveTheirFolders) {
  root_.MakeFolder("Windows");
  root_.WriteBytes("Windows/Terminal.ini", "[Identity]\r\nVolumes=SD Card\r\n");
  vela::terminal::Get().ResetForTests();
  EXPECT_EQ(vela::terminal::Get().Get().identity.volumes, std::vector<std::string>{"SD Card"});
  EXPECT_TRUE(FolderExists(u"\\SD Card"));
  SetVolumes({});
  EXPECT_FALSE(FolderExists(u"\\SD Card"));
}

}  // namespace
