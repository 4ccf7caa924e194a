#include "LauncherDialog.h"

#include <initializer_list>

#include "ResourceText.h"
#include "resource.h"

namespace {

constexpr int kEntryIds[CLauncherDialog::kEntryButtons] = {IDC_ENTRY1, IDC_ENTRY2, IDC_ENTRY3,
                                                           IDC_ENTRY4, IDC_ENTRY5, IDC_ENTRY6};
constexpr int kPageArrowTheme = 6;  // sky blue
constexpr int kArrowUp = 0;
constexpr int kArrowDown = 1;

}  // namespace

BEGIN_MESSAGE_MAP(CLauncherDialog, CVLFWMenuDialog)
    ON_BN_CLICKED(IDC_PAGE_PREV, OnPagePrevious)
    ON_BN_CLICKED(IDC_PAGE_NEXT, OnPageNext)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CLauncherDialog::CLauncherDialog(const LauncherOptions& options)
    : CVLFWMenuDialog(IDD_LAUNCHER, nullptr), m_strFirstMenu(options.firstMenu) {
    SetLogFileName(options.logFile);
    m_pagePrevious.SetDirection(kArrowUp);
    m_pageNext.SetDirection(kArrowDown);
    m_pagePrevious.SetColor(kPageArrowTheme);
    m_pageNext.SetColor(kPageArrowTheme);
}

void CLauncherDialog::DoDataExchange(CDataExchange* pDX) {
    CVLFWMenuDialog::DoDataExchange(pDX);  // makes the top and up button objects
    for (int i = 0; i < kEntryButtons; ++i) DDX_Control(pDX, kEntryIds[i], m_entries[i]);
    DDX_Control(pDX, IDC_TOP, *m_pTopButton);
    DDX_Control(pDX, IDC_UP, *m_pUpButton);
    DDX_Control(pDX, IDC_PAGE_PREV, m_pagePrevious);
    DDX_Control(pDX, IDC_PAGE_NEXT, m_pageNext);
    DDX_Control(pDX, IDC_NET, m_net);
    DDX_Control(pDX, IDC_BATTERY, m_battery);
    DDX_Control(pDX, IDC_IME, m_ime);
    DDX_Control(pDX, IDC_KEYMODE, m_keyMode);
    DDX_Control(pDX, IDC_CLOCK, m_clock);
}

BOOL CLauncherDialog::OnInitDialog() {
    CVLFWMenuDialog::OnInitDialog();  // opens the log, attaches the controls, asks for the wait
    // The input method tells the focus window of its changes: whichever button has the focus
    // passes them on to the status bar's input-method and key-mode icons.
    for (CVLFWMenuButton& entry : m_entries) CVLNfNotifyWnd::SetBuddy(&entry);
    for (CWnd* button : std::initializer_list<CWnd*>{&m_pagePrevious, &m_pageNext, m_pTopButton, m_pUpButton}) {
        CVLNfNotifyWnd::SetBuddy(button);
    }
    ShowWaitState(kWaitRunning, FALSE);
    ReadSpec(m_strFirstMenu, ResourceText(IDS_MAIN_TITLE), nullptr);
    return TRUE;
}

BOOL CLauncherDialog::ReadSpec(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName) {
    const BOOL bRead = CVLFWMenuDialog::ReadSpec(path, dispName, logonName);
    m_pager.Reset(bRead ? static_cast<int>(m_spec.GetSize()) : 0);
    ShowTitle(bRead);
    ShowPage();
    return bRead;
}

void CLauncherDialog::ShowTitle(BOOL bRead) {
    if (bRead) {
        SetDlgItemText(IDC_TITLE, m_spec.GetDispName());
        return;
    }
    // The menu stays empty: say why rather than show a blank screen.
    CString text;
    text.Format(ResourceText(IDS_UNREADABLE), static_cast<LPCWSTR>(m_spec.GetDispName()));
    SetDlgItemText(IDC_TITLE, text);
}

void CLauncherDialog::ShowPage() {
    for (int slot = 0; slot < kEntryButtons; ++slot) {
        const int index = m_pager.EntryAt(slot);
        auto* item = index >= 0 ? static_cast<CVLFWMenuItem*>(m_spec.GetAt(index)) : nullptr;
        CVLFWMenuButton& button = m_entries[slot];
        button.SetMenuItem(item);
        // The name is drawn from the entry; as the window text it also lets scripts and the
        // recorder find the button by what it shows.
        button.SetWindowText(item != nullptr ? static_cast<LPCWSTR>(item->GetDispName()) : u"");
        // A button without an entry is only background; it should not take the focus either.
        button.EnableWindow(item != nullptr);
        button.Invalidate();
    }
    const int show = m_pager.NeedsPaging() ? SW_SHOW : SW_HIDE;
    m_pagePrevious.ShowWindow(show);
    m_pageNext.ShowWindow(show);
    m_pagePrevious.EnableWindow(m_pager.HasPrevious());
    m_pageNext.EnableWindow(m_pager.HasNext());
    CWnd* page = GetDlgItem(IDC_PAGE);
    if (page != nullptr) {
        CString text;
        if (m_pager.NeedsPaging()) text.Format(u"%d / %d", m_pager.Page() + 1, m_pager.PageCount());
        page->SetWindowText(text);
        page->ShowWindow(show);
    }
    KeepFocusUsable();
}

void CLauncherDialog::KeepFocusUsable() {
    const CWnd* focus = CWnd::GetFocus();
    if (focus != nullptr && focus->IsWindowEnabled() && focus->IsWindowVisible()) return;
    for (CVLFWMenuButton& entry : m_entries) {
        if (entry.IsWindowEnabled()) {
            GotoDlgCtrl(&entry);
            return;
        }
    }
}

void CLauncherDialog::OnPagePrevious() {
    if (m_pager.Previous()) ShowPage();
}

void CLauncherDialog::OnPageNext() {
    if (m_pager.Next()) ShowPage();
}

HBRUSH CLauncherDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (pWnd == nullptr || pWnd->GetDlgCtrlID() != IDC_TITLE) return CVLFWMenuDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetTextColor(::GetSysColor(COLOR_CAPTIONTEXT));
    pDC->SetBkColor(::GetSysColor(COLOR_ACTIVECAPTION));
    return ::GetSysColorBrush(COLOR_ACTIVECAPTION);
}

void CLauncherDialog::ShowWaitState(WaitState state, BOOL bResumed) {
    const UINT id = state == kWaitReady ? IDS_READY : state == kWaitTimedOut ? IDS_TIMED_OUT : IDS_WAITING;
    CString text = ResourceText(id);
    if (bResumed) {
        CString resumed;
        resumed.Format(ResourceText(IDS_RESUMED), static_cast<LPCWSTR>(text));
        text = resumed;
    }
    SetDlgItemText(IDC_WAIT, text);
}
