// The built-in "winsock.dll" as the logging library reaches it: by name and GetProcAddress.
#include <vela/Modules.h>
#include <vela/TerminalIdentity.h>
#include <vela/WinsockFaults.h>
#include <windows.h>
#include <winsock.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstring>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;

class Winsock : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryW(u"winsock.dll");
    ASSERT_NE(nullptr, module_);
    startup_ = vela::ExportAs<int(WORD, LPWSADATA)>(GetProcAddressW(module_, u"WSAStartup"));
    cleanup_ = vela::ExportAs<int()>(GetProcAddressW(module_, u"WSACleanup"));
    hostname_ = vela::ExportAs<int(char*, int)>(GetProcAddressW(module_, u"gethostname"));
    ASSERT_TRUE(startup_ && cleanup_ && hostname_);
  }
  void TearDown() override {
    vela::ResetTerminalHostName();
    vela::ResetWinsockFaults();
    FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  LPFN_WSASTARTUP startup_ = nullptr;
  LPFN_WSACLEANUP cleanup_ = nullptr;
  LPFN_GETHOSTNAME hostname_ = nullptr;
};

TEST_F(Winsock, HostNameIsTheHostsByDefaultAndFollowsTheTerminalSetting) {
  WSADATA data;
  ASSERT_EQ(0, startup_(MAKEWORD(1, 1), &data));
  EXPECT_EQ(MAKEWORD(1, 1), data.wVersion);
  char name[260];
  ASSERT_EQ(0, hostname_(name, sizeof name));
  char host[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(0, gethostname(host, sizeof host - 1));
  EXPECT_STREQ(host, name);

  // In the ANSI code page: "端末01" is 0x92 0x5B 0x96 0x96 "01" in code page 932.
  vela::SetTerminalHostName(u"\u7AEF\u672B01");
  ASSERT_EQ(0, hostname_(name, sizeof name));
  EXPECT_STREQ("\x92\x5B\x96\x96" "01", name);
  EXPECT_EQ(0, cleanup_());
}

TEST_F(Winsock, BufferMustHoldTheNameAndItsTerminator) {
  vela::SetTerminalHostName(u"RQ-1234");
  WSADATA data;
  ASSERT_EQ(0, startup_(MAKEWORD(1, 1), &data));
  struct Case {
    int size;
    int result;
    DWORD error;
  };
  const Case cases[] = {{8, 0, kMarker}, {7, SOCKET_ERROR, WSAEFAULT}, {1, SOCKET_ERROR, WSAEFAULT},
                        {0, SOCKET_ERROR, WSAEFAULT}, {-1, SOCKET_ERROR, WSAEFAULT}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    char name[16];
    std::memset(name, '#', sizeof name);
    SetLastError(kMarker);
    EXPECT_EQ(c.result, hostname_(name, c.size));
    EXPECT_EQ(c.error, GetLastError());
    if (c.result == 0) {
      EXPECT_STREQ("RQ-1234", name);
    } else {
      EXPECT_EQ('#', name[0]) << "nothing is written on failure";
    }
  }
  SetLastError(kMarker);
  EXPECT_EQ(SOCKET_ERROR, hostname_(nullptr, 260));
  EXPECT_EQ(static_cast<DWORD>(WSAEFAULT), GetLastError());
  EXPECT_EQ(0, cleanup_());
}

TEST_F(Winsock, NothingWorksBeforeStartupOrAfterTheLastCleanup) {
  char name[260];
  SetLastError(kMarker);
  EXPECT_EQ(SOCKET_ERROR, hostname_(name, sizeof name));
  EXPECT_EQ(static_cast<DWORD>(WSANOTINITIALISED), GetLastError());

  WSADATA data;
  ASSERT_EQ(0, startup_(MAKEWORD(2, 2), &data));
  ASSERT_EQ(0, startup_(MAKEWORD(1, 1), &data));
  EXPECT_EQ(0, cleanup_());
  EXPECT_EQ(0, hostname_(name, sizeof name)) << "one start-up is still open";
  EXPECT_EQ(0, cleanup_());
  SetLastError(kMarker);
  EXPECT_EQ(SOCKET_ERROR, hostname_(name, sizeof name));
  EXPECT_EQ(static_cast<DWORD>(WSANOTINITIALISED), GetLastError());
  SetLastError(kMarker);
  EXPECT_EQ(SOCKET_ERROR, cleanup_());
  EXPECT_EQ(static_cast<DWORD>(WSANOTINITIALISED), GetLastError());
}

TEST_F(Winsock, StartupChecksVersionAndData) {
  WSADATA data;
  EXPECT_EQ(WSAVERNOTSUPPORTED, startup_(MAKEWORD(1, 0), &data));
  EXPECT_EQ(WSAVERNOTSUPPORTED, startup_(MAKEWORD(0, 9), &data));
  EXPECT_EQ(WSAEFAULT, startup_(MAKEWORD(1, 1), nullptr));
  ASSERT_EQ(0, startup_(MAKEWORD(3, 0), &data));
  EXPECT_EQ(MAKEWORD(2, 2), data.wVersion);
  EXPECT_EQ(MAKEWORD(2, 2), data.wHighVersion);
  EXPECT_EQ(0, cleanup_());
  SetLastError(kMarker);
  EXPECT_EQ(SOCKET_ERROR, cleanup_()) << "failed start-ups are not counted";
}

TEST_F(Winsock, TestsCanMakeItFailOrDisappear) {
  WSADATA data;
  vela::SetWinsockFaults({WSASYSNOTREADY, 0});
  EXPECT_EQ(WSASYSNOTREADY, startup_(MAKEWORD(1, 1), &data));

  vela::SetWinsockFaults({0, WSAENETDOWN});
  ASSERT_EQ(0, startup_(MAKEWORD(1, 1), &data));
  char name[260];
  SetLastError(kMarker);
  EXPECT_EQ(SOCKET_ERROR, hostname_(name, sizeof name));
  EXPECT_EQ(static_cast<DWORD>(WSAENETDOWN), GetLastError());
  EXPECT_EQ(0, cleanup_());

  vela::ScopedModuleOverrides overrides;
  vela::HideModule(u"winsock.dll");
  SetLastError(kMarker);
  EXPECT_EQ(nullptr, LoadLibraryW(u"winsock.dll"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

}  // namespace
