// Both ways a button becomes themed (created by the class, or an existing button subclassed)
// make it owner-drawn without losing its other style bits, and make quick taps separate clicks.
#include <gtest/gtest.h>

#include <vela/Clock.h>
#include <vela/Input.h>

#include <vector>

#include "ThemeFixture.h"

namespace {

// The parent records the buttons' notifications.
std::vector<std::pair<int, int>>& Notifications() {
    static std::vector<std::pair<int, int>> log;
    return log;
}

LRESULT CALLBACK RecordingParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) Notifications().emplace_back(LOWORD(wParam), HIWORD(wParam));
    return ::DefWindowProc(hWnd, message, wParam, lParam);
}

LPCTSTR RecordingParentClass() {
    static const bool registered = [] {
        WNDCLASS wc{};
        wc.lpfnWndProc = &RecordingParentProc;
        wc.hInstance = ::GetModuleHandle(nullptr);
        wc.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = u"ThemeTestParent";
        return ::RegisterClass(&wc) != 0;
    }();
    return registered ? u"ThemeTestParent" : nullptr;
}

class OwnerDrawSetUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hParent = ::CreateWindowEx(0, RecordingParentClass(), u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                     nullptr, ::GetModuleHandle(nullptr), nullptr);
        ASSERT_NE(m_hParent, nullptr);
        Notifications().clear();
    }
    void TearDown() override { ::DestroyWindow(m_hParent); }

    HWND PlainButton(int nId, DWORD dwStyle, int y = 10) {
        return ::CreateWindowEx(0, u"BUTTON", u"btn", WS_CHILD | WS_VISIBLE | dwStyle, 10, y, 60, 24, m_hParent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)), ::GetModuleHandle(nullptr), nullptr);
    }
    static DWORD Style(HWND hWnd) { return DWORD(::GetWindowLong(hWnd, GWL_STYLE)); }
    static bool DoubleClicks(HWND hWnd) { return (::GetClassLong(hWnd, GCL_STYLE) & CS_DBLCLKS) != 0; }

    HWND m_hParent = nullptr;
};

constexpr DWORD kKeptBits = WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE;

TEST_F(OwnerDrawSetUpTest, CreatedButtonBecomesOwnerDrawnKeepingItsOtherBits) {
    for (DWORD dwType : {DWORD(BS_PUSHBUTTON), DWORD(BS_DEFPUSHBUTTON)}) {
        CVelaThemeButton button;
        ASSERT_TRUE(button.Create(u"OK", WS_CHILD | WS_VISIBLE | kKeptBits | dwType, CRect(10, 10, 70, 34),
                                  CWnd::FromHandle(m_hParent), 1));
        EXPECT_EQ(Style(button.m_hWnd) & BS_TYPEMASK, DWORD(BS_OWNERDRAW));
        EXPECT_EQ(Style(button.m_hWnd) & kKeptBits, kKeptBits);
        EXPECT_TRUE(Style(button.m_hWnd) & WS_VISIBLE);
        EXPECT_FALSE(DoubleClicks(button.m_hWnd));
        button.DestroyWindow();
    }
}

TEST_F(OwnerDrawSetUpTest, SubclassedButtonBecomesOwnerDrawnKeepingItsOtherBits) {
    HWND hDefault = PlainButton(2, BS_DEFPUSHBUTTON | kKeptBits);
    HWND hPush = PlainButton(3, BS_PUSHBUTTON | kKeptBits, 40);
    ::SetClassLong(hDefault, GCL_STYLE, LONG_PTR(::GetClassLong(hDefault, GCL_STYLE) | CS_DBLCLKS));
    CVelaThemeButton byHandle, byId;
    ASSERT_TRUE(byHandle.SubclassWindow(hDefault));
    ASSERT_TRUE(byId.SubclassDlgItem(3, CWnd::FromHandle(m_hParent)));
    for (HWND hWnd : {hDefault, hPush}) {
        EXPECT_EQ(Style(hWnd) & BS_TYPEMASK, DWORD(BS_OWNERDRAW));
        EXPECT_EQ(Style(hWnd) & kKeptBits, kKeptBits);
        EXPECT_FALSE(DoubleClicks(hWnd));
    }
    byHandle.UnsubclassWindow();
    byId.UnsubclassWindow();
}

// OR-ing the owner-draw type into a radio button's type 4 would give 0x0F, a type nobody
// draws; the type is replaced instead.
TEST_F(OwnerDrawSetUpTest, AnyButtonTypeEndsOwnerDrawn) {
    for (DWORD dwType : {DWORD(BS_RADIOBUTTON), DWORD(BS_GROUPBOX), DWORD(BS_AUTOCHECKBOX)}) {
        CVelaThemeButton button;
        ASSERT_TRUE(button.SubclassWindow(PlainButton(4, dwType)));
        EXPECT_EQ(Style(button.m_hWnd) & BS_TYPEMASK, DWORD(BS_OWNERDRAW)) << dwType;
        button.DestroyWindow();
    }
}

TEST_F(OwnerDrawSetUpTest, QuickTapsOnAnyButtonOfTheClassAreSeparateClicks) {
    SYSTEMTIME start{2026, 12, 1, 7, 9, 0, 0, 0};
    vela::clock::UseManual(start);
    // A plain owner-drawn button while the class still asks for double-clicks: the second of
    // two quick taps is a double-click.
    HWND hPlain = PlainButton(5, BS_OWNERDRAW, 60);
    ::SetClassLong(hPlain, GCL_STYLE, LONG_PTR(::GetClassLong(hPlain, GCL_STYLE) | CS_DBLCLKS));
    auto tapTwice = [](int x, int y) {
        Notifications().clear();
        vela::input::Tap(x, y);
        vela::clock::Advance(std::chrono::milliseconds(50));
        vela::input::Tap(x, y);
        vela::input::PumpUntilIdle();
        vela::clock::Advance(std::chrono::seconds(5));  // the next pair starts afresh
        return Notifications();
    };
    using Log = std::vector<std::pair<int, int>>;
    EXPECT_EQ(tapTwice(20, 70), (Log{{5, BN_CLICKED}, {5, BN_DOUBLECLICKED}}));

    CVelaThemeButton themed;
    ASSERT_TRUE(themed.Create(u"OK", WS_CHILD | WS_VISIBLE, CRect(10, 100, 70, 124), CWnd::FromHandle(m_hParent), 6));
    EXPECT_EQ(tapTwice(20, 110), (Log{{6, BN_CLICKED}, {6, BN_CLICKED}}));
    EXPECT_EQ(tapTwice(20, 70), (Log{{5, BN_CLICKED}, {5, BN_CLICKED}}));
    themed.DestroyWindow();
    vela::clock::UseHost();
}

}  // namespace
