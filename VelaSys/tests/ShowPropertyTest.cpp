// Which settings page each device class opens, as the simulated terminal records the shell
// requests; and when nothing is opened at all.
#include <VelaSys.h>

#include "TerminalFixture.h"

namespace velasystest {
namespace {

using vela::terminal::ShellExecuteRequest;

class ShowProperty : public TerminalTest {
protected:
    // The one request recorded since the test began.
    ShellExecuteRequest Only() {
        const auto requests = Records().shellExecutes;
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? ShellExecuteRequest{} : requests.front();
    }
    void ExpectNone() { EXPECT_TRUE(Records().shellExecutes.empty()); }
};

template <typename Device>
ShellExecuteRequest OpenedBy() {
    vela::terminal::Get().ResetForTests();
    Device device;
    device.ShowProperty(nullptr);
    const auto requests = vela::terminal::Get().GetRecords().shellExecutes;
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? ShellExecuteRequest{} : requests.front();
}

TEST_F(ShowProperty, ControlPanelPagesAndOwnPrograms) {
    const std::pair<ShellExecuteRequest, std::u16string> cases[] = {
        {OpenedBy<CVLSysPowerManage>(), u"\\Windows\\cplmain.cpl,5"},
        {OpenedBy<CVLSysVolume>(), u"\\Windows\\cplmain.cpl,10"},
        {OpenedBy<CVLSysClock>(), u"\\Windows\\cplmain.cpl,13"},
    };
    for (const auto& [request, parameters] : cases) {
        EXPECT_EQ(request.file, u"CTLPNL.EXE");
        EXPECT_EQ(request.parameters, parameters);
        EXPECT_EQ(request.verb, u"");
        EXPECT_EQ(request.directory, u"");
        EXPECT_EQ(request.show, SW_SHOWNORMAL);
        EXPECT_EQ(request.mask, 0u);
    }
    const std::pair<ShellExecuteRequest, std::u16string> programs[] = {
        {OpenedBy<CVLSysLcdManage>(), u"\\Windows\\Contrast.exe"},
        {OpenedBy<CVLSysNetwork>(), u"\\Windows\\Lirent.exe"},
    };
    for (const auto& [request, file] : programs) {
        EXPECT_EQ(request.file, file);
        EXPECT_EQ(request.parameters, u"");
        EXPECT_EQ(request.show, SW_SHOWNORMAL);
    }
}

// The owner window is passed on as given.
TEST_F(ShowProperty, OwnerWindowIsHandedToTheShell) {
    const HWND owner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5150));
    CVLSysVolume().ShowProperty(owner);
    CVLSysNetwork().ShowProperty(owner);
    const auto requests = Records().shellExecutes;
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].window, 0x5150u);
    EXPECT_EQ(requests[1].window, 0x5150u);
}

TEST_F(ShowProperty, ClassesWithoutPageOpenNothing) {
    CVelaSysBase().ShowProperty(nullptr);
    CVLSysImeManage().ShowProperty(nullptr);
    ExpectNone();
}

TEST_F(ShowProperty, SwitchedOffNoClassOpensAnything) {
    CVLSysLcdManage lcd;
    CVLSysPowerManage power;
    CVLSysVolume volume;
    CVLSysClock clock;
    CVLSysNetwork network;
    CVelaSysBase* all[] = {&lcd, &power, &volume, &clock, &network};
    for (CVelaSysBase* device : all) device->SetEnableShowProperty(FALSE);
    lcd.ShowProperty(nullptr);
    power.ShowProperty(nullptr);
    volume.ShowProperty(nullptr);
    clock.ShowProperty(nullptr);
    network.ShowProperty(nullptr);
    ExpectNone();
}

// Not virtual: through a base reference the base's operation runs with the object's page,
// so a network object opens control panel page 101 instead of its own program.
TEST_F(ShowProperty, BaseReferenceOpensTheControlPanelPage) {
    CVLSysNetwork network;
    CVelaSysBase& base = network;
    base.ShowProperty(nullptr);
    const ShellExecuteRequest request = Only();
    EXPECT_EQ(request.file, u"CTLPNL.EXE");
    EXPECT_EQ(request.parameters, u"\\Windows\\cplmain.cpl,101");
}

// Copies carry the page and the switch.
TEST_F(ShowProperty, CopiesKeepPageAndSwitch) {
    CVLSysClock off;
    off.SetEnableShowProperty(FALSE);
    CVLSysClock copy(off);
    copy.ShowProperty(nullptr);
    ExpectNone();

    CVelaSysBase assigned;
    assigned = CVLSysVolume();
    assigned.ShowProperty(nullptr);
    EXPECT_EQ(Only().parameters, u"\\Windows\\cplmain.cpl,10");
}

}  // namespace
}  // namespace velasystest
