// The status window base: the window size in both creation paths, the paint (background, icon
// at the top-left, nothing else), the repaint rules and the tap.
#include <afxdialog.h>

#include "NotifyTestSupport.h"
#include "data/NotifyTestIds.h"

namespace notifytest {
namespace {

using IconWindow = NotifyTest;
using PlainProbe = Probe<CPlainIconWnd>;

// Battery with three bars: the outline and the first bar at fixed places in both images.
constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kGreen = 0x008000;

TEST_F(IconWindow, SizeIsSetAtCreationOnly) {
    PlainProbe small, large, late;
    large.SetIconSize(IconSize32);
    ASSERT_TRUE(CreateChild(small, m_host, 0, 0, 50, 40));
    ASSERT_TRUE(CreateChild(large, m_host, 60, 0, 50, 40));
    ASSERT_TRUE(CreateChild(late, m_host, 120, 0, 50, 40));
    late.SetIconSize(IconSize32);
    Pump();

    EXPECT_EQ(WindowRectOf(small), CRect(0, 0, 16, 16));
    EXPECT_EQ(WindowRectOf(large), CRect(60, 0, 92, 32));  // position kept
    EXPECT_EQ(WindowRectOf(late), CRect(120, 0, 136, 16));
    EXPECT_NE(small.GetStyle() & SS_NOTIFY, 0u);

    // The late window draws the 32 x 32 image clipped: its bar starts where the large one's does.
    late.Invalidate();
    Pump();
    EXPECT_EQ(vela::screen::Pixel(60 + 4, 12), kGreen);
    EXPECT_EQ(vela::screen::Pixel(120 + 4, 12), kGreen);
    // 16 x 16 has a bar here, 32 x 32 nothing yet.
    EXPECT_EQ(vela::screen::Pixel(120 + 2, 6), Rgb(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(vela::screen::Pixel(0 + 2, 6), kGreen);
}

TEST_F(IconWindow, UnknownSizeValueActsAs32) {
    PlainProbe odd;
    odd.SetIconSize(static_cast<IconSize>(7));
    ASSERT_TRUE(CreateChild(odd, m_host, 0, 0, 50, 40));
    EXPECT_EQ(WindowRectOf(odd), CRect(0, 0, 32, 32));
}

TEST_F(IconWindow, SixteenPixelImageAtTheTopLeftOverTheBackground) {
    PlainProbe icon;
    icon.SetBkColor(RGB(0x20, 0x40, 0x60));
    ASSERT_TRUE(CreateChild(icon, m_host, 10, 20, 16, 16));
    Pump();
    const std::uint32_t bk = 0x204060;
    EXPECT_EQ(vela::screen::Pixel(10 + 0, 20 + 0), bk);       // transparent corner
    EXPECT_EQ(vela::screen::Pixel(10 + 0, 20 + 4), kBlack);   // outline, top-left
    EXPECT_EQ(vela::screen::Pixel(10 + 1, 20 + 5), kWhite);   // inside
    EXPECT_EQ(vela::screen::Pixel(10 + 2, 20 + 6), kGreen);   // first bar
    EXPECT_EQ(vela::screen::Pixel(10 + 15, 20 + 7), kBlack);  // terminal nub
    EXPECT_EQ(vela::screen::Pixel(10 + 15, 20 + 15), bk);
    EXPECT_EQ(vela::screen::Pixel(10 + 16, 20 + 4), Rgb(::GetSysColor(COLOR_WINDOW)));  // outside
}

TEST_F(IconWindow, UnloadableIconLeavesOnlyTheBackground) {
    PlainProbe icon;
    icon.ShowIcon(2999);
    icon.SetBkColor(RGB(0x10, 0x20, 0x30));
    ASSERT_TRUE(CreateChild(icon, m_host, 0, 0, 16, 16));
    Pump();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(vela::screen::Pixel(x, y), 0x102030u) << x << "," << y;
}

TEST_F(IconWindow, BackgroundColourShowsOnlyAtTheNextPaint) {
    PlainProbe icon;
    ASSERT_TRUE(CreateChild(icon, m_host, 0, 0, 16, 16));
    Pump();
    const std::uint32_t face = Rgb(::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(vela::screen::Pixel(0, 0), face);
    const int paints = icon.m_nPaints;

    icon.SetBkColor(RGB(0xFF, 0x00, 0xFF));
    Pump();
    EXPECT_EQ(vela::screen::Pixel(0, 0), face);
    EXPECT_EQ(icon.m_nPaints, paints);

    icon.Invalidate();
    Pump();
    EXPECT_EQ(vela::screen::Pixel(0, 0), 0xFF00FFu);
}

TEST_F(IconWindow, TapReachesShowCplPropertyWhichDoesNothingInTheBase) {
    PlainProbe icon;
    ASSERT_TRUE(CreateChild(icon, m_host, 30, 30, 16, 16));
    Pump();
    const auto before = vela::screen::Capture(CRect(0, 0, 240, 120));
    const int paints = icon.m_nPaints;
    vela::input::Tap(35, 35);
    Pump();
    EXPECT_EQ(icon.m_nTaps, 1);
    EXPECT_EQ(icon.m_nPaints, paints);
    EXPECT_EQ(vela::screen::Capture(CRect(0, 0, 240, 120)).pixels, before.pixels);
    EXPECT_TRUE(vela::terminal::Get().GetRecords().processStarts.empty());
}

// Both creation paths, side by side: a child window created by the program and a static
// control of a dialog template taken over with SubclassDlgItem.
class DialogIcons : public NotifyTest {
protected:
    // Creates the dialog; init takes over its controls in OnInitDialog.
    void Open(std::function<void(CDialog&)> init) {
        m_dialog.m_onInit = std::move(init);
        ASSERT_TRUE(m_dialog.Create(IDD_STATUS, &m_host));
        Pump();
    }
    void TearDown() override {
        if (m_dialog.GetSafeHwnd() != nullptr) m_dialog.DestroyWindow();
        NotifyTest::TearDown();
    }
    CRect TemplateRect(int x, int y, int cx, int cy) {
        CRect rect(x, y, x + cx, y + cy);
        m_dialog.MapDialogRect(&rect);
        return rect;
    }
    CInitDialog m_dialog;
};

TEST_F(DialogIcons, SubclassedControlTakesTheSameSizeAndContentAsACreatedWindow) {
    PlainProbe subclassed, created;
    Open([&](CDialog& dialog) {
        EXPECT_TRUE(subclassed.SubclassDlgItem(IDC_ICON16, &dialog));
        EXPECT_TRUE(CreateChild(created, dialog, 0, 100, 30, 30));
    });
    EXPECT_GE(subclassed.m_nPaints, 1);
    CRect rs = WindowRectOf(subclassed), rc = WindowRectOf(created);
    EXPECT_EQ(rs.Size(), CSize(16, 16));
    EXPECT_EQ(rc.Size(), CSize(16, 16));
    m_dialog.ScreenToClient(&rs);
    EXPECT_EQ(rs.TopLeft(), TemplateRect(90, 4, 30, 30).TopLeft());
    rs = WindowRectOf(subclassed);
    EXPECT_NE(subclassed.GetStyle() & SS_NOTIFY, 0u);
    EXPECT_EQ(vela::screen::Capture(rs).pixels, vela::screen::Capture(rc).pixels);
}

TEST_F(DialogIcons, WindowSizeKeepsTheTemplatesSizeAndDrawsThe32PixelImage) {
    PlainProbe wide;
    wide.SetIconSize(IconSizeWindow);
    wide.SetBkColor(RGB(0x00, 0x00, 0xFF));
    Open([&](CDialog& dialog) { EXPECT_TRUE(wide.SubclassDlgItem(IDC_WIDE, &dialog)); });
    const CRect laidOut = TemplateRect(4, 40, 20, 10);
    CRect rect = WindowRectOf(wide);
    m_dialog.ScreenToClient(&rect);
    EXPECT_EQ(rect, laidOut);
    EXPECT_EQ(rect.Size(), CSize(40, 20));  // the template asks for 40 x 20 pixels

    const CRect onScreen = WindowRectOf(wide);
    auto at = [&](int x, int y) { return vela::screen::Pixel(onScreen.left + x, onScreen.top + y); };
    EXPECT_EQ(at(0, 8), kBlack);   // 32 x 32 outline from the top-left
    EXPECT_EQ(at(4, 12), kGreen);  // its first bar
    EXPECT_EQ(at(35, 10), 0x0000FFu);  // right of the image: background
    EXPECT_EQ(at(39, 19), 0x0000FFu);
}

}  // namespace
}  // namespace notifytest
