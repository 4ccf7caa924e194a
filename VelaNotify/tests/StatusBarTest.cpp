// A status bar with all the status windows, as an application lays it out along the top of its
// dialog; the same picture is docs/images/status-bar.png.
#include <VLNfBatteryIconWnd.h>
#include <VLNfNetIconWnd.h>

#include <filesystem>
#include <initializer_list>

#include "GoldenImage.h"
#include "NotifyTestSupport.h"
#include "data/NotifyTestIds.h"

namespace notifytest {
namespace {

const std::filesystem::path kGolden = std::filesystem::path(VELA_TEST_DATA) / "golden";

using Pictures = NotifyTest;

// A status bar of 240 x 40 along the top of the screen: network and battery created by the
// program, input method, key mode and clock laid out in the dialog template (both ways an
// application has).
TEST_F(Pictures, StatusBar) {
    UpdateTerminal([](vela::terminal::State& s) {
        s.input.keyInputMode = 2;
        s.input.imeOpen = true;
        s.input.conversion = 0x19;  // full-width hiragana
    });
    CVLNfNetIconWnd net;
    CVLNfBatteryIconWnd battery;
    CVLNfIMEIconWnd ime;
    CVLNfKeyIconWnd key;
    CVLNfClockWnd clock;
    for (CVelaNotifyBase* icon : std::initializer_list<CVelaNotifyBase*>{&net, &battery, &ime, &key}) {
        icon->SetIconSize(IconSize32);
    }
    CInitDialog bar;
    bar.m_onInit = [&](CDialog& d) {
        EXPECT_TRUE(CreateChild(net, d, 4, 4, 32, 32, 1));
        EXPECT_TRUE(CreateChild(battery, d, 40, 4, 32, 32, 2));
        EXPECT_TRUE(ime.SubclassDlgItem(IDC_IME, &d));
        EXPECT_TRUE(key.SubclassDlgItem(IDC_KEY, &d));
        EXPECT_TRUE(clock.SubclassDlgItem(IDC_CLOCK, &d));
    };
    ASSERT_TRUE(bar.Create(IDD_STATUSBAR, &m_host));
    Advance(1000);
    CRect rect;
    bar.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(0, 0, 240, 40));
    EXPECT_EQ(WindowRectOf(clock), CRect(156, 10, 236, 30));
    const auto picture = vela::screen::Capture(rect);
    EXPECT_TRUE(golden::MatchesGolden(picture, kGolden, "status-bar"));
    bar.DestroyWindow();
}

}  // namespace
}  // namespace notifytest
