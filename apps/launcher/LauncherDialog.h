// The launcher's dialog: a status bar, the current menu's title, six entry buttons with
// paging when a menu has more entries, the outcome of the network wait, and the top and up
// buttons.
#pragma once

#include <VelaFW.h>
#include <VelaNotify.h>
#include <VelaTheme.h>

#include "LauncherOptions.h"
#include "MenuPager.h"

// Posted to the application's thread by the device wait, which runs on other threads:
// wParam a WaitState, lParam nonzero after a wake-up.
constexpr UINT WM_LAUNCHER_WAITSTATE = WM_APP + 1;

enum WaitState : int { kWaitRunning = 0, kWaitReady = 1, kWaitTimedOut = 2 };

class CLauncherDialog : public CVLFWMenuDialog {
public:
    explicit CLauncherDialog(const LauncherOptions& options);

    static constexpr int kEntryButtons = 6;

    // Shows the state of the network wait.
    void ShowWaitState(WaitState state, BOOL bResumed);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL ReadSpec(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName) override;

    afx_msg void OnPagePrevious();
    // The menu's title as a bar in the caption colours, apart from the entries below it.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPageNext();

    DECLARE_MESSAGE_MAP()

private:
    // Puts the current page's entries on the buttons and the paging controls in step.
    void ShowPage();
    void ShowTitle(BOOL bRead);
    // A disabled or hidden control cannot keep the focus, or keys and the input method's news
    // would go nowhere: it moves to the first entry button that can take it.
    void KeepFocusUsable();

    CVLFWMenuButton m_entries[kEntryButtons];
    CVelaPageArrowButton m_pagePrevious;
    CVelaPageArrowButton m_pageNext;
    CVLNfNetIconWnd m_net;
    CVLNfBatteryIconWnd m_battery;
    CVLNfIMEIconWnd m_ime;
    CVLNfKeyIconWnd m_keyMode;
    CVLNfClockWnd m_clock;
    CMenuPager m_pager{kEntryButtons};
    CString m_strFirstMenu;
};
