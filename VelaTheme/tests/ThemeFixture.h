// Shared set-up of the button tests: a window on the headless screen to hold buttons, a way to
// paint a button in any item state at once, and stand-in brushes and icons that a test puts in
// the library's table to see exactly what was painted where.
#pragma once

#include <gtest/gtest.h>

#include <VelaTheme.h>
#include <vela/Input.h>
#include <vela/Screen.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "PrivateTerminalRoot.h"

// Rectangles in failure messages as their four sides.
inline void PrintTo(const CRect& rect, std::ostream* os) {
    *os << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
}

namespace themetest {

// 0x00RRGGBB as the screen gives it.
inline std::uint32_t ScreenRgb(COLORREF c) { return std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); }

class ThemeTest : public ::testing::Test {
protected:
    static constexpr int kParentX = 0, kParentY = 0;

    void SetUp() override {
        vela::screen::Resize(240, 320);
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), u"parent",
                                      WS_POPUP | WS_VISIBLE, kParentX, kParentY, 240, 320, nullptr, nullptr));
        m_parent.UpdateWindow();
    }
    void TearDown() override {
        if (m_parent.GetSafeHwnd()) m_parent.DestroyWindow();
        CDC::DeleteTempMap();
    }

    // A button created by its own class at (x, y) of the screen.
    template <typename Button>
    Button& Make(int x, int y, int cx, int cy, LPCTSTR caption = u"", DWORD style = 0) {
        auto button = std::make_unique<Button>();
        EXPECT_TRUE(button->Create(caption, WS_CHILD | WS_VISIBLE | style, CRect(x, y, x + cx, y + cy), &m_parent,
                                   100 + UINT(m_buttons.size())));
        Button& made = *button;
        m_buttons.push_back(std::move(button));
        return made;
    }

    // Paints the button as its parent's WM_DRAWITEM would for this item state.
    static void PaintState(CVelaThemeButton& button, UINT nState) {
        HDC hDC = ::GetDC(button.m_hWnd);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = UINT(button.GetDlgCtrlID());
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nState;
        dis.hwndItem = button.m_hWnd;
        dis.hDC = hDC;
        button.GetClientRect(&dis.rcItem);
        button.DrawItem(&dis);
        ::ReleaseDC(button.m_hWnd, hDC);
    }

    CWnd m_parent;
    std::vector<std::unique_ptr<CVelaThemeButton>> m_buttons;
};

// Puts stand-ins into slots of the library's table for one test and restores the real handles
// (and deletes the stand-ins) afterwards.
class TableSwap {
public:
    TableSwap() = default;
    ~TableSwap() {
        for (auto it = m_brushes.rbegin(); it != m_brushes.rend(); ++it) {
            ::DeleteObject(*it->first);
            *it->first = it->second;
        }
        for (auto it = m_icons.rbegin(); it != m_icons.rend(); ++it) {
            ::DestroyIcon(*it->first);
            *it->first = it->second;
        }
    }
    TableSwap(const TableSwap&) = delete;
    TableSwap& operator=(const TableSwap&) = delete;

    void Put(HBRUSH& slot, HBRUSH stand) { m_brushes.emplace_back(&slot, slot), slot = stand; }
    void Put(HICON& slot, HICON stand) { m_icons.emplace_back(&slot, slot), slot = stand; }

private:
    std::vector<std::pair<HBRUSH*, HBRUSH>> m_brushes;
    std::vector<std::pair<HICON*, HICON>> m_icons;
};

// An 8 x 8 pattern brush whose pixel (x, y) is 0xPPXXYY: P the piece, X and Y the position in
// the tile, so a painted pixel tells which piece put it there and from which tile pixel.
inline HBRUSH CodedTileBrush(int nPiece) {
    std::array<std::uint32_t, 64> bits{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) bits[size_t(y * 8 + x)] = std::uint32_t(0x10 * (nPiece + 1)) << 16 | std::uint32_t(x) << 8 | std::uint32_t(y);
    }
    HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 32, bits.data());
    HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
    ::DeleteObject(hBitmap);
    return hBrush;
}

// A fully opaque icon of one colour.
inline HICON SolidIcon(int cx, int cy, COLORREF color) {
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, cx, cy);
    ::ReleaseDC(nullptr, hScreen);
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hMem, hColor);
    RECT all{0, 0, cx, cy};
    HBRUSH hBrush = ::CreateSolidBrush(color);
    ::FillRect(hMem, &all, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    std::vector<std::uint8_t> zeros(size_t((cx + 15) / 16 * 2 * cy), 0);  // mask all opaque
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, zeros.data());
    ICONINFO info{TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hMask);
    ::DeleteObject(hColor);
    return hIcon;
}

// The bounding box on the screen of the pixels of one colour inside an area, empty if none.
inline CRect BoxOf(std::uint32_t rgb, const CRect& area) {
    CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (vela::screen::Pixel(x, y) != rgb) continue;
            box.left = std::min<int>(box.left, x);
            box.top = std::min<int>(box.top, y);
            box.right = std::max<int>(box.right, x + 1);
            box.bottom = std::max<int>(box.bottom, y + 1);
        }
    }
    return box.left == INT_MAX ? CRect(0, 0, 0, 0) : box;
}

}  // namespace themetest
