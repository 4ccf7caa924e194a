// The network as the classes see it: which adapter counts, the address and signal strength it
// gives, the driver's presence, and the WLAN radio through a Corvel that may be missing or
// incomplete.
#include <VelaSys.h>
#include <iphlpapi.h>

#include <atomic>
#include <thread>

#include "TerminalFixture.h"

namespace velasystest {
namespace {

constexpr std::uint32_t kEthernet = MIB_IF_TYPE_ETHERNET;
constexpr std::uint32_t kLoopback = MIB_IF_TYPE_LOOPBACK;

using Network = TerminalTest;

TEST_F(Network, NoAdapterMeansNotConnected) {
    CVLSysNetwork net;
    EXPECT_EQ(net.GetIPAddress(), u"");
    EXPECT_EQ(net.IsConnected(), FALSE);
    EXPECT_EQ(net.GetStrength(), 0);
}

// Only exactly "0.0.0.0" is skipped; anything else, even close to it, is an address.
TEST_F(Network, UnassignedAddressIsNotAConnection) {
    SetAdapters({MakeAdapter("WLAN1", kEthernet, "0.0.0.0", -50)});
    CVLSysNetwork net;
    EXPECT_EQ(net.IsConnected(), FALSE);
    EXPECT_EQ(net.GetStrength(), 0);
    SetAdapters({MakeAdapter("A", kEthernet, "0.0.0.00"), MakeAdapter("B", kEthernet, "10.0.0.2")});
    EXPECT_EQ(net.GetIPAddress(), u"0.0.0.00");
}

// Other types (loopback, token ring, 802.11 ...) are never chosen, even with an address and
// a signal.
TEST_F(Network, OnlyUsableTypesCount) {
    CVLSysNetwork net;
    for (std::uint32_t type : {1, 2, 3, 5, 6, 10, 11, 12, 13, 14, 15, 20, 30, 31, 32, 40, 41, 42, 50, 60}) {
        SetAdapters({MakeAdapter("A", type, "192.168.1.20", -40)});
        EXPECT_EQ(net.GetIPAddress(), u"192.168.1.20") << type;
    }
    for (std::uint32_t type : {0, 4, 7, 9, 16, 23, 24, 28, 61, 71}) {
        SetAdapters({MakeAdapter("A", type, "192.168.1.20", -40)});
        EXPECT_EQ(net.IsConnected(), FALSE) << type;
        EXPECT_EQ(net.GetStrength(), 0) << type;
    }
}

TEST_F(Network, FirstUsableAdapterWinsForAddressAndStrength) {
    SetAdapters({MakeAdapter("lo", kLoopback, "127.0.0.1", -30), MakeAdapter("idle", kEthernet, "0.0.0.0", -30),
                 MakeAdapter("first", kEthernet, "10.1.2.3", -65), MakeAdapter("second", kEthernet, "10.9.9.9", -30)});
    CVLSysNetwork net;
    EXPECT_EQ(net.GetIPAddress(), u"10.1.2.3");
    EXPECT_EQ(net.IsConnected(), TRUE);
    EXPECT_EQ(net.GetStrength(), 50);
}

TEST_F(Network, WithoutTheDriverNothingIsConnected) {
    SetAdapters({MakeAdapter("WLAN1", kEthernet, "10.1.2.3", -40)});
    Update([](auto& s) { s.network.ndisDriverPresent = false; });
    CVLSysNetwork net;
    EXPECT_EQ(net.GetIPAddress(), u"");
    EXPECT_EQ(net.IsConnected(), FALSE);
    EXPECT_EQ(net.GetStrength(), 0);
    EXPECT_EQ(static_cast<HANDLE>(CVLNdisHandle()), INVALID_HANDLE_VALUE);
}

TEST_F(Network, StrengthInPercent) {
    const std::pair<std::int32_t, WORD> cases[] = {{-95, 0}, {-91, 0}, {-90, 0},  {-89, 2},   {-65, 50},
                                                    {-41, 98}, {-40, 100}, {-30, 100}, {0, 100}, {-200, 0}};
    CVLSysNetwork net;
    for (const auto& [dbm, percent] : cases) {
        SetAdapters({MakeAdapter("WLAN1", kEthernet, "10.1.2.3", dbm)});
        EXPECT_EQ(net.GetStrength(), percent) << dbm << " dBm";
    }
}

// An adapter that is no radio refuses the strength query.
TEST_F(Network, FailingStrengthQueryGivesZero) {
    SetAdapters({MakeAdapter("LAN1", kEthernet, "10.1.2.3", std::nullopt), MakeAdapter("WLAN1", kEthernet, "10.1.2.4", -40)});
    CVLSysNetwork net;
    EXPECT_EQ(net.IsConnected(), TRUE);
    EXPECT_EQ(net.GetStrength(), 0);
}

// An adapter without a name still gives the address; there is nobody to ask for a strength.
TEST_F(Network, NamelessAdapterHasAnAddressButNoStrength) {
    SetAdapters({MakeAdapter("", kEthernet, "10.1.2.3", -40)});
    CVLSysNetwork net;
    EXPECT_EQ(net.GetIPAddress(), u"10.1.2.3");
    EXPECT_EQ(net.GetStrength(), 0);
}

// The adapter list may change between the size query and the read. The answer is then the
// address before or after the change, or empty when the list outgrew the buffer; never
// anything read past the buffer (the sanitizer build watches that).
TEST_F(Network, ListChangingWhileReadGivesOldNewOrNothing) {
    std::vector<vela::terminal::Adapter> few{MakeAdapter("A", kEthernet, "10.0.0.1")};
    std::vector<vela::terminal::Adapter> many;
    for (int i = 0; i < 16; ++i) many.push_back(MakeAdapter("B" + std::to_string(i), kLoopback, "127.0.0.1"));
    many.push_back(MakeAdapter("C", kEthernet, "10.0.0.2"));
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        for (bool grow = true; !stop; grow = !grow) SetAdapters(grow ? many : few);
    });
    CVLSysNetwork net;
    for (int i = 0; i < 500; ++i) {
        const CString address = net.GetIPAddress();
        EXPECT_TRUE(address == u"10.0.0.1" || address == u"10.0.0.2" || address.IsEmpty()) << i;
    }
    stop = true;
    changer.join();
}

// The WLAN radio through Corvel, looked up by name on every call.
struct FakeCorvel {
    int enables = 0, disables = 0;
    DWORD state = 0;
};
FakeCorvel g_corvel;
DWORD FakeEnable() { return ++g_corvel.enables, 1; }
DWORD FakeDisable() { return ++g_corvel.disables, 1; }
DWORD FakeGet() { return g_corvel.state; }

class Wlan : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        g_corvel = FakeCorvel{};
    }
};

TEST_F(Wlan, SwitchesTheRadio) {
    CVLSysNetwork net;
    net.DisableWLan(TRUE);
    EXPECT_FALSE(State().network.wlanOn);
    EXPECT_EQ(net.GetWLANDisable(), TRUE);
    net.DisableWLan(FALSE);
    EXPECT_TRUE(State().network.wlanOn);
    EXPECT_EQ(net.GetWLANDisable(), FALSE);
}

TEST_F(Wlan, WithoutCorvelNothingHappens) {
    Update([](auto& s) { s.network.wlanOn = false; });
    vela::HideModule(u"Corvel.dll");
    CVLSysNetwork net;
    EXPECT_EQ(net.GetWLANDisable(), FALSE);
    net.DisableWLan(FALSE);
    EXPECT_FALSE(State().network.wlanOn);
}

// Both switches must be there before either is used.
TEST_F(Wlan, IncompleteCorvelSwitchesNothing) {
    vela::SubstituteModule(u"Corvel.dll", {{"SysDisableWLAN", vela::ExportedFunction(&FakeDisable)}});
    CVLSysNetwork net;
    net.DisableWLan(TRUE);
    EXPECT_EQ(g_corvel.disables, 0);
    EXPECT_EQ(net.GetWLANDisable(), FALSE);

    vela::SubstituteModule(u"Corvel.dll", {{"SysEnableWLAN", vela::ExportedFunction(&FakeEnable)},
                                           {"SysDisableWLAN", vela::ExportedFunction(&FakeDisable)},
                                           {"SysGetWLAN", vela::ExportedFunction(&FakeGet)}});
    net.DisableWLan(TRUE);
    net.DisableWLan(FALSE);
    net.DisableWLan(7);
    EXPECT_EQ(g_corvel.disables, 2);
    EXPECT_EQ(g_corvel.enables, 1);
    // The state is passed on unchanged.
    g_corvel.state = 0x10;
    EXPECT_EQ(net.GetWLANDisable(), 0x10);
}

}  // namespace
}  // namespace velasystest
