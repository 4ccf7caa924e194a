// Shared pieces of the status window tests: a fresh terminal and a manual clock per test, a
// host window at the screen's top-left for the windows under test, probes that expose what
// the windows show, and a look at the pixels.
#pragma once

#include <afxdialog.h>
#include <afxwin.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vela/Clock.h>
#include <vela/Input.h>
#include <vela/Screen.h>
#include <vela/Terminal.h>

#include <VelaNotify.h>

#include <cstdint>
#include <functional>

#include "PrivateTerminalRoot.h"

namespace notifytest {

// Ends the test program if a message loop never returns, instead of hanging the run.
class Watchdog {
public:
    explicit Watchdog(unsigned seconds) { ::alarm(seconds); }
    ~Watchdog() { ::alarm(0); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};

// Screen pixels are 0x00RRGGBB; COLORREFs are 0x00BBGGRR.
inline std::uint32_t Rgb(COLORREF color) {
    return static_cast<std::uint32_t>(GetRValue(color)) << 16 | GetGValue(color) << 8 | GetBValue(color);
}

// Opens the protected state of any status window class for the tests, and counts its paints.
template <class Base>
class Probe : public Base {
public:
    UINT Icon() const { return this->m_nIconID; }
    void ShowIcon(UINT id) { this->m_nIconID = id; }
    IconSize Size() const { return this->m_nIconSize; }
    COLORREF Background() const { return this->m_crBkColor; }
    int m_nPaints = 0;
    int m_nTaps = 0;

protected:
    void DrawCustomIcon(CDC* pDC, CRect& rect) override {
        ++m_nPaints;
        Base::DrawCustomIcon(pDC, rect);
    }
    void ShowCplProperty() override {
        ++m_nTaps;
        Base::ShowCplProperty();
    }
};

// The base class has no public constructor: a status window that shows what it is told.
class CPlainIconWnd : public CVelaNotifyBase {
public:
    explicit CPlainIconWnd(UINT id = 3001) { m_nIconID = id; }
};

// A dialog that takes over its controls in OnInitDialog, before it is first shown and painted,
// as an application's dialog does.
class CInitDialog : public CDialog {
public:
    std::function<void(CDialog&)> m_onInit;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_onInit) m_onInit(*this);
        return TRUE;
    }
};

class NotifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        vela::terminal::Get().ResetForTests();
        vela::clock::SetZoneBias(0);
        SYSTEMTIME start{2026, 12, 1, 7, 9, 5, 0, 0};  // Monday 7 December 2026, 09:05:00
        vela::clock::UseManual(start);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), u"host",
                                    WS_POPUP | WS_VISIBLE, 0, 0, 240, 120, nullptr, nullptr));
        Pump();
    }
    void TearDown() override {
        if (m_host.GetSafeHwnd() != nullptr) m_host.DestroyWindow();
        Pump();
        CWnd::DeleteTempMap();
        vela::clock::UseHost();
        vela::clock::SetZoneBias(std::nullopt);
        vela::terminal::Get().ResetForTests();
    }

    static void Pump() { vela::input::PumpUntilIdle(); }
    static void Advance(int ms) {
        vela::clock::Advance(std::chrono::milliseconds(ms));
        Pump();
    }
    static void UpdateTerminal(const std::function<void(vela::terminal::State&)>& edit) {
        vela::terminal::Get().Update(edit);
    }

    // Creates a status window as a child of the host, at (x, y) with the given size.
    static BOOL CreateChild(CWnd& wnd, CWnd& parent, int x, int y, int cx, int cy, UINT id = 1000) {
        return static_cast<CStatic&>(wnd).Create(u"", WS_CHILD | WS_VISIBLE, CRect(x, y, x + cx, y + cy), &parent, id);
    }
    static CRect WindowRectOf(const CWnd& wnd) {
        CRect rect;
        wnd.GetWindowRect(&rect);
        return rect;
    }

    Watchdog m_watchdog{60};
    CWnd m_host;
};

}  // namespace notifytest
