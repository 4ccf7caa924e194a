// GetAdaptersInfo and the NDIS user-mode I/O driver over the simulated terminal's network.
#include <gtest/gtest.h>
#include <fileapi.h>
#include <handleapi.h>
#include <iphlpapi.h>
#include <winbase.h>
#include <winioctl.h>
#include <msgqueue.h>
#include <vela/Terminal.h>
#include <vela/TerminalIdentity.h>

#include <cstring>
#include <vector>

namespace {

using vela::terminal::Adapter;
using vela::terminal::State;

class NetworkDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { vela::terminal::Get().ResetForTests(); }
  void TearDown() override { vela::terminal::Get().ResetForTests(); }

  static void SetAdapters(std::vector<Adapter> adapters) {
    vela::terminal::Get().Update([&](State& s) { s.network.adapters = adapters; });
  }

  static Adapter Named(std::string name, std::string ip, std::optional<int> dbm = std::nullopt) {
    Adapter a;
    a.name = std::move(name);
    a.ipAddress = std::move(ip);
    a.signalDbm = dbm;
    return a;
  }

  static HANDLE OpenDriver() {
    return CreateFileW(u"UIO1:", 0, 0, nullptr, OPEN_EXISTING, 0x40000080, INVALID_HANDLE_VALUE);
  }

  // The strength query as the kit sends it: one buffer as input and output.
  static BOOL QueryRssi(HANDLE driver, const char16_t* name, std::int32_t& dbm, DWORD size = sizeof(NDISUIO_QUERY_OID)) {
    std::vector<BYTE> buffer(std::max<size_t>(size, sizeof(NDISUIO_QUERY_OID)));
    NDISUIO_QUERY_OID request{};
    request.Oid = OID_802_11_RSSI;
    request.ptcDeviceName = name;
    std::memcpy(buffer.data(), &request, sizeof request);
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(driver, IOCTL_NDISUIO_QUERY_OID_VALUE, buffer.data(), size, buffer.data(), size,
                                    &returned, nullptr);
    std::memcpy(&dbm, buffer.data() + 8, sizeof dbm);
    return ok;
  }
};

TEST_F(NetworkDeviceTest, AdapterListFollowsTheSizeProtocol) {
  SetAdapters({Named("LAN", "10.0.0.2"), Named("WLAN", "192.168.1.9", -50)});
  ULONG size = 0;
  EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  ASSERT_EQ(size, 2 * sizeof(IP_ADAPTER_INFO));
  ULONG small = size - 1;
  std::vector<BYTE> buffer(size);
  auto* info = reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data());
  EXPECT_EQ(GetAdaptersInfo(info, &small), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(small, size);
  ASSERT_EQ(GetAdaptersInfo(info, &size), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(info->AdapterName, "LAN");
  EXPECT_STREQ(info->IpAddressList.IpAddress.String, "10.0.0.2");
  ASSERT_NE(info->Next, nullptr);
  EXPECT_STREQ(info->Next->AdapterName, "WLAN");
  EXPECT_EQ(info->Next->Type, static_cast<UINT>(MIB_IF_TYPE_ETHERNET));
  EXPECT_EQ(info->Next->Next, nullptr);
  EXPECT_EQ(GetAdaptersInfo(nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(NetworkDeviceTest, AListThatGrowsAfterTheSizeQueryAsksForMoreAgain) {
  SetAdapters({Named("A", "1.1.1.1")});
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<BYTE> buffer(size);
  SetAdapters({Named("A", "1.1.1.1"), Named("B", "2.2.2.2")});
  EXPECT_EQ(GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size),
            static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(size, 2 * sizeof(IP_ADAPTER_INFO));

  SetAdapters({});
  EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(NetworkDeviceTest, LongAndOddTextsAreCutToTheirFields) {
  Adapter a = Named(std::string(1000, 'n'), "255.255.255.255.255");  // address longer than 15
  a.description = std::string(127, 'd') + "\xE3\x81\x82";  // a double-byte character at the edge
  a.address = {1, 2, 3, 4, 5, 6, 7, 8};
  SetAdapters({a, Named("", "")});
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<BYTE> buffer(size);
  auto* info = reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data());
  ASSERT_EQ(GetAdaptersInfo(info, &size), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(std::strlen(info->AdapterName), sizeof info->AdapterName - 1);
  EXPECT_EQ(std::string(info->Description), std::string(127, 'd') + "\x82\xA0");  // both bytes, in cp932
  EXPECT_EQ(std::strlen(info->IpAddressList.IpAddress.String), 15u);
  EXPECT_EQ(info->AddressLength, 8u);
  EXPECT_STREQ(info->Next->AdapterName, "");

  a.description = std::string(130, 'd') + "\xE3\x81\x82";  // one byte of room left: no half character
  SetAdapters({a});
  ASSERT_EQ(GetAdaptersInfo(info, &size), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(std::string(info->Description), std::string(130, 'd'));
}

TEST_F(NetworkDeviceTest, TheDriverAnswersTheSignalOfTheNamedRadio) {
  SetAdapters({Named("LAN", "10.0.0.2"), Named("WLAN", "192.168.1.9", -67)});
  HANDLE driver = OpenDriver();
  ASSERT_NE(driver, INVALID_HANDLE_VALUE) << GetLastError();
  std::int32_t dbm = 0;
  EXPECT_TRUE(QueryRssi(driver, u"WLAN", dbm));
  EXPECT_EQ(dbm, -67);

  SetLastError(0);
  EXPECT_FALSE(QueryRssi(driver, u"LAN", dbm));  // wired: no signal strength
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  SetLastError(0);
  EXPECT_FALSE(QueryRssi(driver, u"PPP", dbm));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_FALSE(QueryRssi(driver, nullptr, dbm));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_FALSE(QueryRssi(driver, u"WLAN", dbm, 16));  // the terminal's 16 bytes cannot hold the pointer here
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  NDISUIO_QUERY_OID other{};
  other.Oid = 0x0D010101;
  other.ptcDeviceName = u"WLAN";
  SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(driver, IOCTL_NDISUIO_QUERY_OID_VALUE, &other, sizeof other, &other, sizeof other,
                               nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(driver, 0x120FFC, nullptr, 0, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));

  MSGQUEUEOPTIONS options{sizeof options, 0, 0, sizeof(NDISUIO_DEVICE_NOTIFICATION), TRUE};
  HANDLE queue = CreateMsgQueue(nullptr, &options);
  NDISUIO_REQUEST_NOTIFICATION notify{queue, NDISUIO_NOTIFICATION_MEDIA_CONNECT};
  EXPECT_TRUE(DeviceIoControl(driver, IOCTL_NDISUIO_REQUEST_NOTIFICATION, &notify, sizeof notify, nullptr, 0,
                              nullptr, nullptr));
  CloseMsgQueue(queue);
  SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(driver, IOCTL_NDISUIO_REQUEST_NOTIFICATION, &notify, 4, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_TRUE(CloseHandle(driver));
}

TEST_F(NetworkDeviceTest, ADriverThatVanishesFailsItsOpenHandlesForGood) {
  SetAdapters({Named("WLAN", "192.168.1.9", -40)});
  HANDLE driver = OpenDriver();
  ASSERT_NE(driver, INVALID_HANDLE_VALUE);
  vela::terminal::Get().Update([](State& s) { s.network.ndisDriverPresent = false; });
  std::int32_t dbm = 0;
  SetLastError(0);
  EXPECT_FALSE(QueryRssi(driver, u"WLAN", dbm));
  EXPECT_EQ(GetLastError(), 55u);  // ERROR_DEV_NOT_EXIST
  SetLastError(0);
  EXPECT_EQ(OpenDriver(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  vela::terminal::Get().Update([](State& s) { s.network.ndisDriverPresent = true; });
  EXPECT_FALSE(QueryRssi(driver, u"WLAN", dbm));  // the old handle stays dead
  HANDLE fresh = OpenDriver();
  ASSERT_NE(fresh, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(QueryRssi(fresh, u"WLAN", dbm));
  EXPECT_TRUE(CloseHandle(fresh));
  EXPECT_TRUE(CloseHandle(driver));
}

TEST_F(NetworkDeviceTest, OtherDeviceNamesAndNonDeviceHandles) {
  SetLastError(0);
  EXPECT_EQ(CreateFileW(u"COM1:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  HANDLE lower = CreateFileW(u"uio1:", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(lower, INVALID_HANDLE_VALUE);
  CloseHandle(lower);
  SetLastError(0);
  EXPECT_FALSE(DeviceIoControl(reinterpret_cast<HANDLE>(uintptr_t{0x7FFC}), IOCTL_NDISUIO_QUERY_OID_VALUE, nullptr,
                               0, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace

namespace {

TEST(TerminalHostNameTest, TheSimulatedTerminalNamesItselfUnlessTheNameWasSet) {
  vela::terminal::Get().ResetForTests();
  vela::ResetTerminalHostName();
  const std::u16string machine = vela::TerminalHostName();
  vela::terminal::Get().Update([](vela::terminal::State& s) { s.identity.hostName = "HT-0007"; });
  EXPECT_EQ(vela::TerminalHostName(), u"HT-0007");
  vela::SetTerminalHostName(u"RQ-1");
  EXPECT_EQ(vela::TerminalHostName(), u"RQ-1");
  vela::ResetTerminalHostName();
  vela::terminal::Get().ResetForTests();
  EXPECT_EQ(vela::TerminalHostName(), machine);
}

}  // namespace
