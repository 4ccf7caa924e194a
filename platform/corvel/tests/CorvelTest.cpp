// Corvel's table of results over the simulated terminal, and Corvel as a module found by name.
#include <gtest/gtest.h>
#include <libloaderapi.h>
#include <Corvel.h>
#include <vela/Modules.h>
#include <vela/Terminal.h>

#include <PrivateTerminalRoot.h>
#include <future>

namespace {

using vela::terminal::Get;
using vela::terminal::State;

class CorvelTest : public ::testing::Test {
 protected:
  void SetUp() override { Get().ResetForTests(); }
  void TearDown() override { Get().ResetForTests(); }
};

TEST_F(CorvelTest, BacklightLevelsAreStoredAsGivenAndReadBack) {
  EXPECT_EQ(SysSetBLBattery(0), 0u);
  EXPECT_EQ(SysSetBLExpower(0xFFFFFFFF), 0xFFFFFFFFu);  // out of range passes through
  DWORD level = 99;
  EXPECT_EQ(SysGetBLBattery(&level), 1u);
  EXPECT_EQ(level, 0u);
  EXPECT_EQ(SysGetBLExpower(&level), 1u);
  EXPECT_EQ(level, 0xFFFFFFFFu);
  Get().Update([](State& s) {
    s.backlight.batteryMaximum = 7;
    s.backlight.externalPowerMaximum = 9;
  });
  DWORD battery = 0, expower = 0;
  EXPECT_EQ(SysGetBLMaximum(&battery, &expower), 1u);
  EXPECT_EQ(battery, 7u);
  EXPECT_EQ(expower, 9u);
}

TEST_F(CorvelTest, AFailingBacklightReadReturnsItsCodeAndWritesNothing) {
  Get().Update([](State& s) { s.backlight.readResult = 0x80000005; });
  DWORD level = 1234, battery = 1, expower = 2;
  EXPECT_EQ(SysGetBLBattery(&level), 0x80000005u);
  EXPECT_EQ(SysGetBLExpower(&level), 0x80000005u);
  EXPECT_EQ(level, 1234u);
  EXPECT_EQ(SysGetBLMaximum(&battery, &expower), 0x80000005u);
  EXPECT_EQ(battery, 1u);
  EXPECT_EQ(expower, 2u);
  EXPECT_EQ(SysSetBLBattery(2), 2u);  // writes still work
  EXPECT_EQ(Get().Get().backlight.battery, 2u);
}

TEST_F(CorvelTest, SwitchesReportOneWhileForbidden) {
  EXPECT_EQ(SysGetPowerOff(), 0u);
  SysDisablePowerOff();
  EXPECT_EQ(SysGetPowerOff(), 1u);
  EXPECT_EQ(SysGetAPO(), 0u);  // the two switches are apart
  SysDisableAPO();
  SysEnablePowerOff();
  EXPECT_EQ(SysGetPowerOff(), 0u);
  EXPECT_EQ(SysGetAPO(), 1u);
  SysEnableAPO();
  EXPECT_EQ(SysGetAPO(), 0u);

  EXPECT_EQ(SysGetWLAN(), 0u);
  SysDisableWLAN();
  EXPECT_EQ(SysGetWLAN(), 1u);
  EXPECT_FALSE(Get().Get().network.wlanOn);
  SysEnableWLAN();
  EXPECT_EQ(SysGetWLAN(), 0u);
}

TEST_F(CorvelTest, BuzzerVolumesPerKindAndTheKeyInputMode) {
  const DWORD untouched = SysGetBuzzerVolume(2);
  SysSetBuzzerVolume(1, 0);
  SysSetBuzzerVolume(0xFFFFFFFF, 77);
  EXPECT_EQ(SysGetBuzzerVolume(1), 0u);
  EXPECT_EQ(SysGetBuzzerVolume(0xFFFFFFFF), 77u);
  EXPECT_EQ(SysGetBuzzerVolume(2), untouched);

  SysSetInputMode(static_cast<DWORD>(-6));
  EXPECT_EQ(SysGetInputMode(), -6);
  SysSetInputMode(0xFFFFFFF0);
  EXPECT_EQ(SysGetInputMode(), -16);
}

TEST_F(CorvelTest, PowerOffReturnsAfterTheWakeUpAndSoftResetIsCounted) {
  auto done = std::async(std::launch::async, [] { return SysPowerOff(); });
  for (int i = 0; i < 10000 && !Get().IsSuspended(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(Get().IsSuspended());
  Get().WakeUp();
  ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(done.get(), 1u);
  SysSoftReset();
  SysSoftReset();
  EXPECT_EQ(Get().GetRecords().softResets, 2u);
}

TEST_F(CorvelTest, SystemNameIsCutTo128CharactersWithTheNul) {
  WCHAR buffer[200];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(SysGetSystemName(4, buffer), 1u);
  EXPECT_EQ(std::u16string(buffer), u"Storage Card");

  Get().Update([](State& s) { s.identity.systemName = std::string(127, 'a'); });
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  SysGetSystemName(4, buffer);
  EXPECT_EQ(std::u16string(buffer), std::u16string(127, u'a'));

  Get().Update([](State& s) { s.identity.systemName = std::string(300, 'b'); });
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  SysGetSystemName(4, buffer);
  EXPECT_EQ(std::u16string(buffer), std::u16string(127, u'b'));
  EXPECT_EQ(buffer[128], u'#');  // nothing written past the 128 characters

  // 126 ASCII then a character outside the BMP: the pair would not fit, so neither half goes.
  Get().Update([](State& s) { s.identity.systemName = std::string(126, 'c') + "\xF0\x9F\x98\x80"; });
  SysGetSystemName(4, buffer);
  EXPECT_EQ(std::u16string(buffer), std::u16string(126, u'c'));

  Get().Update([](State& s) { s.identity.systemName.clear(); });
  SysGetSystemName(4, buffer);
  EXPECT_EQ(buffer[0], 0);
}

using GetWlan = DWORD();

TEST_F(CorvelTest, LoadsByNameAndExportsItsFunctionsUnderTheirPlainNames) {
  HMODULE corvel = LoadLibraryW(u"Corvel.dll");
  ASSERT_NE(corvel, nullptr) << GetLastError();
  FARPROC getWlan = GetProcAddressW(corvel, u"SysGetWLAN");
  ASSERT_NE(getWlan, nullptr);
  SysDisableWLAN();
  EXPECT_EQ(vela::ExportAs<GetWlan>(getWlan)(), 1u);  // the same terminal as the linked calls
  EXPECT_NE(GetProcAddressW(corvel, u"SysGetSystemName"), nullptr);
  EXPECT_EQ(GetProcAddressW(corvel, u"NoSuchFunction"), nullptr);
  EXPECT_TRUE(FreeLibrary(corvel));
}

TEST_F(CorvelTest, TestsCanHideCorvelOrGiveALibraryWithoutSysEnableWLAN) {
  vela::ScopedModuleOverrides overrides;
  vela::HideModule(u"Corvel.dll");
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(u"Corvel.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  static int disableCalls = 0;
  vela::SubstituteModule(u"Corvel.dll",
                         {{"SysDisableWLAN", vela::ExportedFunction(+[]() -> DWORD { return ++disableCalls; })},
                          {"SysGetWLAN", vela::ExportedFunction(&SysGetWLAN)}});
  HMODULE partial = LoadLibraryW(u"Corvel.dll");
  ASSERT_NE(partial, nullptr);
  EXPECT_EQ(GetProcAddressW(partial, u"SysEnableWLAN"), nullptr);
  FARPROC disable = GetProcAddressW(partial, u"SysDisableWLAN");
  ASSERT_NE(disable, nullptr);
  vela::ExportAs<GetWlan>(disable)();
  EXPECT_EQ(disableCalls, 1);
  EXPECT_EQ(Get().Get().network.wlanOn, true);  // the double, not the terminal, was called
  FreeLibrary(partial);
}

}  // namespace
