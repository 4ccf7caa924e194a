// Backlight, power switches, suspend, volumes, clock: what each call does to the simulated
// terminal and what it reports back, failures included.
#include <VelaSys.h>

#include <atomic>

#include "TerminalFixture.h"

namespace velasystest {
namespace {

using vela::terminal::Change;

using Backlight = TerminalTest;

TEST_F(Backlight, LevelsGoToBatteryOrExternalPower) {
    CVLSysLcdManage lcd;
    EXPECT_EQ(lcd.SetBright(4, TRUE), 4u);
    EXPECT_EQ(lcd.SetBright(1, FALSE), 1u);
    EXPECT_EQ(State().backlight.battery, 4u);
    EXPECT_EQ(State().backlight.externalPower, 1u);

    DWORD level = 99;
    EXPECT_EQ(lcd.GetBright(level, TRUE), 1u);
    EXPECT_EQ(level, 4u);
    EXPECT_EQ(lcd.GetBright(level, FALSE), 1u);
    EXPECT_EQ(level, 1u);
}

TEST_F(Backlight, MaximumOfBatteryOrExternalPower) {
    Update([](auto& s) {
        s.backlight.batteryMaximum = 7;
        s.backlight.externalPowerMaximum = 12;
    });
    CVLSysLcdManage lcd;
    DWORD level = 0;
    EXPECT_EQ(lcd.GetBrightMaximun(level, TRUE), 1u);
    EXPECT_EQ(level, 7u);
    EXPECT_EQ(lcd.GetBrightMaximun(level, FALSE), 1u);
    EXPECT_EQ(level, 12u);
}

// A failed read leaves its code in the caller's level, so the caller never keeps a stale one.
TEST_F(Backlight, FailingReadsReportTheirCodeInTheLevel) {
    Update([](auto& s) { s.backlight.readResult = 0x8007; });
    CVLSysLcdManage lcd;
    for (BOOL battery : {TRUE, FALSE}) {
        DWORD level = 3;
        EXPECT_EQ(lcd.GetBright(level, battery), 0x8007u);
        EXPECT_EQ(level, 0x8007u);
        level = 3;
        EXPECT_EQ(lcd.GetBrightMaximun(level, battery), 0x8007u);
        EXPECT_EQ(level, 0x8007u);
    }
}

// Which switch of the terminal a power call sets.
enum class Switch { PowerOff, AutoPowerOff };

class PowerSwitch : public TerminalTest, public ::testing::WithParamInterface<Switch> {
protected:
    void Disable(CVLSysPowerManage& power, BOOL disable, BOOL verify) {
        GetParam() == Switch::PowerOff ? power.DisablePowerOff(disable, verify)
                                       : power.DisableAutoPowerOff(disable, verify);
    }
    BOOL Read(CVLSysPowerManage& power) {
        return GetParam() == Switch::PowerOff ? power.GetPowerOffDisable() : power.GetAutoPowerOffDisable();
    }
    static bool& Field(vela::terminal::State& s) {
        return GetParam() == Switch::PowerOff ? s.power.powerOffForbidden : s.power.autoPowerOffForbidden;
    }

    // A terminal that undoes the first `refusals` settings of the switch right after they were
    // made; counts every setting.
    struct StubbornSwitch {
        explicit StubbornSwitch(int refusals)
            : left(refusals), listener([this](Change change) {
                  if (change != Change::Power || undoing) return;
                  ++settings;
                  if (left == 0) return;
                  --left;
                  undoing = true;
                  vela::terminal::Get().Update([](auto& s) { Field(s) = !Field(s); });
                  undoing = false;
              }) {}
        int left;
        int settings = 0;
        bool undoing = false;
        vela::terminal::ScopedListener listener;
    };
};

// Without verify (anything but exactly 1) the switch is set once, whatever the terminal does.
TEST_P(PowerSwitch, WithoutVerifySetsOnce) {
    StubbornSwitch terminal(1);
    CVLSysPowerManage power;
    Disable(power, TRUE, FALSE);
    EXPECT_EQ(terminal.settings, 1);
    EXPECT_EQ(Read(power), FALSE);
    Disable(power, TRUE, 2);
    EXPECT_EQ(terminal.settings, 2);
    EXPECT_EQ(Read(power), TRUE);
    Disable(power, FALSE, FALSE);
    auto state = State();
    EXPECT_FALSE(Field(state));
}

TEST_P(PowerSwitch, VerifyRepeatsUntilTheStateHolds) {
    StubbornSwitch terminal(3);
    CVLSysPowerManage power;
    Disable(power, TRUE, TRUE);
    EXPECT_EQ(terminal.settings, 4);
    EXPECT_EQ(Read(power), TRUE);
}

TEST_P(PowerSwitch, VerifyGivesUpOnATerminalThatNeverTakesIt) {
    StubbornSwitch terminal(1 << 30);
    CVLSysPowerManage power;
    Disable(power, TRUE, TRUE);
    EXPECT_EQ(terminal.settings, CVLSysPowerManage::kMaxVerifyAttempts);
    EXPECT_EQ(Read(power), FALSE);
}

// A caller passing another nonzero value for "forbid" still gets the switch verified as
// forbidden, instead of looping on a read-back that can only ever be 1.
TEST_P(PowerSwitch, AnyNonzeroDisableVerifiesAsForbidden) {
    StubbornSwitch terminal(0);
    CVLSysPowerManage power;
    Disable(power, 5, TRUE);
    EXPECT_EQ(terminal.settings, 1);
    EXPECT_EQ(Read(power), TRUE);
}

INSTANTIATE_TEST_SUITE_P(Both, PowerSwitch, ::testing::Values(Switch::PowerOff, Switch::AutoPowerOff),
                         [](const auto& param) { return param.param == Switch::PowerOff ? "PowerOff" : "AutoPowerOff"; });

using Suspend = TerminalTest;

TEST_F(Suspend, PowerOffReturnsAfterWakeUpAndRestartsWhenAsked) {
    Update([](auto& s) { s.suspendWakesAfter = std::chrono::milliseconds(0); });
    CVLSysPowerManage power;
    power.PowerOff(FALSE);
    EXPECT_EQ(Records().suspends, 1u);
    EXPECT_EQ(Records().softResets, 0u);
    power.PowerOff(TRUE);
    EXPECT_EQ(Records().suspends, 2u);
    EXPECT_EQ(Records().softResets, 1u);
    EXPECT_FALSE(vela::terminal::Get().IsSuspended());
}

using Volume = TerminalTest;

TEST_F(Volume, WaveVolumePerDevice) {
    Update([](auto& s) { s.sound.waveVolumes = {0xFFFFFFFFu, 0x11112222u}; });
    CVLSysVolume volume;
    volume.SetWaveVolume(0x40008000u, reinterpret_cast<HWAVEOUT>(std::uintptr_t{0}));
    EXPECT_EQ(State().sound.waveVolumes, (std::vector<std::uint32_t>{0x40008000u, 0x11112222u}));
    EXPECT_EQ(volume.GetWaveVolume(reinterpret_cast<HWAVEOUT>(std::uintptr_t{0})), 0x40008000u);
    EXPECT_EQ(volume.GetWaveVolume(reinterpret_cast<HWAVEOUT>(std::uintptr_t{1})), 0x11112222u);
    // No such device: the read fails and reports 0.
    EXPECT_EQ(volume.GetWaveVolume(reinterpret_cast<HWAVEOUT>(std::uintptr_t{2})), 0u);
}

// The class takes the volume first, Corvel the kind first.
TEST_F(Volume, BuzzerVolumePerKind) {
    CVLSysVolume volume;
    volume.SetBuzzerVolume(3, 1);
    volume.SetBuzzerVolume(0, 2);
    EXPECT_EQ(State().sound.buzzerVolumes, (std::map<std::uint32_t, std::uint32_t>{{1, 3}, {2, 0}}));
    EXPECT_EQ(volume.GetBuzzerVolume(1), 3u);
    EXPECT_EQ(volume.GetBuzzerVolume(2), 0u);
    EXPECT_EQ(volume.GetBuzzerVolume(7), State().sound.defaultBuzzerVolume);
}

}  // namespace
}  // namespace velasystest
