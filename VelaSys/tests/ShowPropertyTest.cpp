// Which settings page each device class opens, as the simulated terminal records the shell
// requests; and when nothing is opened at all.
#include <VelaSys.h>
#include <vela/Utf.h>

#include <initializer_list>

#include "TerminalFixture.h"

namespace velasystest {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(std::uintptr_t{0x5150});

// "file|parameters|show|owner" of every shell request since the last reset.
std::vector<std::string> Opened() {
    std::vector<std::string> opened;
    for (const auto& r : vela::terminal::Get().GetRecords().shellExecutes) {
        EXPECT_EQ(r.verb, u"");
        EXPECT_EQ(r.directory, u"");
        EXPECT_EQ(r.mask, 0u);
        opened.push_back(vela::Utf16ToUtf8(r.file) + "|" + vela::Utf16ToUtf8(r.parameters) + "|" +
                         std::to_string(r.show) + "|" + std::to_string(r.window));
    }
    return opened;
}

using ShowProperty = TerminalTest;
using Lines = std::vector<std::string>;

TEST_F(ShowProperty, ControlPanelPagesAndOwnPrograms) {
    CVLSysPowerManage().ShowProperty(kOwner);
    CVLSysVolume().ShowProperty(kOwner);
    CVLSysClock().ShowProperty(kOwner);
    CVLSysLcdManage().ShowProperty(kOwner);
    CVLSysNetwork().ShowProperty(nullptr);
    EXPECT_EQ(Opened(), (Lines{"CTLPNL.EXE|\\Windows\\cplmain.cpl,5|1|20816", "CTLPNL.EXE|\\Windows\\cplmain.cpl,10|1|20816",
                               "CTLPNL.EXE|\\Windows\\cplmain.cpl,13|1|20816", "\\Windows\\Contrast.exe||1|20816",
                               "\\Windows\\Lirent.exe||1|0"}));
}

TEST_F(ShowProperty, NothingWithoutPageOrWhenSwitchedOff) {
    CVelaSysBase().ShowProperty(nullptr);
    CVLSysImeManage().ShowProperty(nullptr);
    CVLSysLcdManage lcd;
    CVLSysPowerManage power;
    CVLSysVolume volume;
    CVLSysClock clock;
    CVLSysNetwork network;
    for (CVelaSysBase* device : std::initializer_list<CVelaSysBase*>{&lcd, &power, &volume, &clock, &network}) {
        device->SetEnableShowProperty(FALSE);
    }
    lcd.ShowProperty(nullptr);
    power.ShowProperty(nullptr);
    volume.ShowProperty(nullptr);
    clock.ShowProperty(nullptr);
    network.ShowProperty(nullptr);
    // A copy carries the switch.
    CVLSysClock(clock).ShowProperty(nullptr);
    EXPECT_EQ(Opened(), Lines{});
}

// Not virtual: through a base reference the base's operation runs with the object's page,
// so a network object opens control panel page 101 instead of its own program.
TEST_F(ShowProperty, BaseReferenceOpensTheControlPanelPage) {
    CVLSysNetwork network;
    static_cast<CVelaSysBase&>(network).ShowProperty(nullptr);
    CVelaSysBase assigned;
    assigned = CVLSysVolume();
    assigned.ShowProperty(nullptr);
    EXPECT_EQ(Opened(), (Lines{"CTLPNL.EXE|\\Windows\\cplmain.cpl,101|1|0", "CTLPNL.EXE|\\Windows\\cplmain.cpl,10|1|0"}));
}

}  // namespace
}  // namespace velasystest
