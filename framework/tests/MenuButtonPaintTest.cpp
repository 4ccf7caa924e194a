// How an entry button looks, read back from the screen: its background, the centred text that
// sinks by a pixel while pressed, and the two frames in the system's colours.
#include <vela/Screen.h>
#include <vela/Terminal.h>

#include <optional>

#include "MenuDialogTestSupport.h"

namespace {

// Distinct system colours, so every frame line tells which colour drew it.
constexpr COLORREF kFace = RGB(200, 200, 200);
constexpr COLORREF kShadow = RGB(100, 100, 100);
constexpr COLORREF kDarkShadow = RGB(20, 20, 20);
constexpr COLORREF kLight = RGB(235, 235, 235);
constexpr COLORREF kText = RGB(0, 0, 200);
constexpr COLORREF kGrayText = RGB(0, 150, 0);
constexpr COLORREF kBack = RGB(255, 240, 200);

const INT kPaletteIndices[] = {COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNTEXT,
                               COLOR_GRAYTEXT};

// The screen's 0x00RRGGBB of a COLORREF.
std::uint32_t OnScreen(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A placeholder entry: only its background is drawn.
class CBlankItem : public CVLFWMenuItem {
public:
    CBlankItem() {
        SetDispName(u"見えない");
        SetItem(TRUE);
        SetEmpty(TRUE);
    }
};

class MenuButtonPaint : public testing::Test {
protected:
    void SetUp() override {
        fwtest::UseManualClock();
        vela::terminal::Get().ResetForTests();
        for (size_t i = 0; i < std::size(kPaletteIndices); ++i) saved[i] = ::GetSysColor(kPaletteIndices[i]);
        const COLORREF palette[] = {kFace, kShadow, kDarkShadow, kLight, kText, kGrayText};
        ASSERT_TRUE(::SetSysColors(static_cast<int>(std::size(kPaletteIndices)), kPaletteIndices, palette));

        fwtest::WriteMenu(dir, "paint.mnu",
                  fwtest::ProgramEntry(1, "AB", dir.Path("none.exe")) + fwtest::LabelEntry(2, "AB") +
                      fwtest::ProgramEntry(3, "AB", dir.Path("none.exe")));
        dialog.emplace(dir.Path("paint.mnu"), dir.Path("paint.log"));
        for (int i = 0; i < 3; ++i) dialog->m_entries[i].SetBkColor(kBack);
        ASSERT_TRUE(dialog->Create(IDD_MENU));
        vela::input::PumpUntilIdle();
    }
    void TearDown() override {
        if (dialog && dialog->m_hWnd != nullptr) dialog->DestroyWindow();
        dialog.reset();
        vela::input::PumpUntilIdle();
        CWnd::DeleteTempMap();
        ::SetSysColors(static_cast<int>(std::size(kPaletteIndices)), kPaletteIndices, saved);
        vela::clock::UseHost();
    }

    RECT Rect(int i) {
        RECT rc;
        dialog->m_entries[i].GetWindowRect(&rc);
        return rc;
    }
    static std::uint32_t At(int x, int y) { return vela::screen::Pixel(x, y); }
    // The pixels of one colour inside the frames: the bounding box of the text.
    static RECT Box(const RECT& rc, COLORREF color) {
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = rc.top + 2; y < rc.bottom - 2; ++y) {
            for (int x = rc.left + 2; x < rc.right - 2; ++x) {
                if (At(x, y) != OnScreen(color)) continue;
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x + 1);
                box.bottom = std::max<int>(box.bottom, y + 1);
            }
        }
        return box;
    }
    // Colours at the middle of the top, left, bottom and right edge, `inset` pixels inside.
    struct Edges {
        std::uint32_t top, left, bottom, right;
        bool operator==(const Edges&) const = default;
    };
    static Edges EdgesOf(const RECT& rc, int inset) {
        const int cx = (rc.left + rc.right) / 2;
        const int cy = (rc.top + rc.bottom) / 2;
        return {At(cx, rc.top + inset), At(rc.left + inset, cy), At(cx, rc.bottom - 1 - inset),
                At(rc.right - 1 - inset, cy)};
    }
    static Edges Frame(COLORREF topLeft, COLORREF bottomRight) {
        return {OnScreen(topLeft), OnScreen(topLeft), OnScreen(bottomRight), OnScreen(bottomRight)};
    }
    static bool AllOf(const RECT& rc, COLORREF color) {
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (At(x, y) != OnScreen(color)) return false;
            }
        }
        return true;
    }
    void Press(int i) {
        const RECT rc = Rect(i);
        vela::clock::Advance(std::chrono::seconds(1));
        vela::input::StylusDown((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        vela::input::PumpUntilIdle();
    }
    // Let go outside the button, so the press selects nothing.
    void ReleaseOutside() {
        vela::input::StylusMove(0, 0);
        vela::input::StylusUp(0, 0);
        vela::input::PumpUntilIdle();
    }

    fwtest::Watchdog watchdog{60};
    COLORREF saved[std::size(kPaletteIndices)]{};
    TerminalTempDir dir;
    std::optional<fwtest::CLauncherDialog> dialog;
};

TEST_F(MenuButtonPaint, AnEntryHasItsTextCentredInsideTwoRaisedFrames) {
    const RECT rc = Rect(0);
    EXPECT_EQ(EdgesOf(rc, 0), Frame(kShadow, kDarkShadow));
    EXPECT_EQ(EdgesOf(rc, 1), Frame(kLight, kShadow));
    EXPECT_EQ(At(rc.left + 3, rc.top + 3), OnScreen(kBack));
    const RECT text = Box(rc, kText);
    ASSERT_LT(text.left, text.right) << "no text drawn";
    EXPECT_NEAR((text.left + text.right) / 2.0, (rc.left + rc.right) / 2.0, 1.5);
    EXPECT_NEAR((text.top + text.bottom) / 2.0, (rc.top + rc.bottom) / 2.0, 2.5);
}

TEST_F(MenuButtonPaint, APressedEntrySinksByOnePixelInsideSunkenFrames) {
    const RECT rc = Rect(0);
    const RECT up = Box(rc, kText);
    Press(0);
    EXPECT_EQ(EdgesOf(rc, 0), Frame(kDarkShadow, kLight));
    EXPECT_EQ(EdgesOf(rc, 1), Frame(kDarkShadow, kFace));
    const RECT down = Box(rc, kText);
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    EXPECT_EQ(down.right, up.right + 1);
    EXPECT_EQ(down.bottom, up.bottom + 1);
    ReleaseOutside();
    EXPECT_EQ(EdgesOf(rc, 0), Frame(kShadow, kDarkShadow));
    EXPECT_TRUE(vlfwtest::ReadLog(dir.HostPath("paint.log")).empty());  // no selection
}

TEST_F(MenuButtonPaint, ALabelHasNoFrameAndDoesNotSinkWhenPressed) {
    const RECT rc = Rect(1);
    const Edges background = Frame(kBack, kBack);
    EXPECT_EQ(EdgesOf(rc, 0), background);
    EXPECT_EQ(EdgesOf(rc, 1), background);
    const RECT up = Box(rc, kText);
    ASSERT_LT(up.left, up.right);
    Press(1);
    EXPECT_EQ(EdgesOf(rc, 0), background);
    const RECT down = Box(rc, kText);
    EXPECT_EQ(down.left, up.left);
    EXPECT_EQ(down.top, up.top);
    ReleaseOutside();
}

TEST_F(MenuButtonPaint, ADisabledEntryHasGrayTextAndColoursFollowThePalette) {
    const RECT rc = Rect(2);
    dialog->m_entries[2].EnableWindow(FALSE);
    vela::input::PumpUntilIdle();
    EXPECT_LT(Box(rc, kGrayText).left, Box(rc, kGrayText).right);
    EXPECT_GT(Box(rc, kText).left, Box(rc, kText).right);  // no text in the enabled colour

    const INT shadow = COLOR_BTNSHADOW;
    const COLORREF newShadow = RGB(90, 0, 90);
    ASSERT_TRUE(::SetSysColors(1, &shadow, &newShadow));
    dialog->m_entries[2].Invalidate();
    vela::input::PumpUntilIdle();
    EXPECT_EQ(EdgesOf(rc, 0), Frame(newShadow, kDarkShadow));
}

TEST_F(MenuButtonPaint, WithoutAnEntryOrWithAPlaceholderOnlyTheBackgroundIsDrawn) {
    // Entry button 4 has no entry and keeps the face colour it was made with.
    EXPECT_TRUE(AllOf(Rect(3), kFace));

    CBlankItem blank;
    dialog->m_entries[0].SetMenuItem(&blank);
    dialog->m_entries[0].Invalidate();
    vela::input::PumpUntilIdle();
    EXPECT_TRUE(AllOf(Rect(0), kBack));
    dialog->m_entries[0].SetMenuItem(nullptr);
}

}  // namespace

namespace {

// The launcher of the tests on the whole screen, as the README shows it. With VELA_FW_PICTURE
// set, the screen is also saved there as a PNG.
TEST(MenuDialogPicture, TheLauncherTemplateCoversTheScreen) {
    fwtest::Watchdog watchdog{60};
    fwtest::UseManualClock();
    TerminalTempDir dir;
    const std::u16string none = dir.Path("none.exe");
    fwtest::WriteMenu(dir, "main.mnu",
                      fwtest::ProgramEntry(1, "入荷検品", none) + fwtest::ProgramEntry(2, "出荷検品", none) +
                          fwtest::LabelEntry(3, "― 棚卸 ―") + fwtest::ProgramEntry(4, "棚卸データ収集", none) +
                          "[05]\nKIND=2\nTEXT=設定メニュー\nEXEPATH=\\Menu\\Settings.mnu\n");
    fwtest::CLauncherDialog dialog(dir.Path("main.mnu"), dir.Path("picture.log"));
    ASSERT_TRUE(dialog.Create(IDD_MENU));
    vela::input::PumpUntilIdle();
    RECT rc;
    dialog.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, vela::screen::Width());
    EXPECT_EQ(rc.bottom, vela::screen::Height());
    if (const char* path = std::getenv("VELA_FW_PICTURE"); path != nullptr && *path != 0) {
        EXPECT_TRUE(vela::screen::SaveScreenPng(path));
    }
    dialog.DestroyWindow();
    vela::input::PumpUntilIdle();
    CWnd::DeleteTempMap();
    vela::clock::UseHost();
}

}  // namespace
