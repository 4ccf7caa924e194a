#include "DemoDialog.h"

#include "resource.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;

struct NamedColor {
    COLORREF color;
    const char16_t* name;
};

const NamedColor kColors[] = {
    {RGB(0xC0, 0x20, 0x20), u"赤"},
    {RGB(0x20, 0x90, 0x30), u"緑"},
    {RGB(0x20, 0x40, 0xC0), u"青"},
};

}  // namespace

BEGIN_MESSAGE_MAP(CDemoDialog, CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_STN_CLICKED(IDC_GREETING, OnGreetingClicked)
    ON_BN_CLICKED(IDC_COLOR, OnColorClicked)
    ON_BN_CLICKED(IDC_LOCK, OnLockClicked)
END_MESSAGE_MAP()

CDemoDialog::CDemoDialog() : CDialog(IDD_DIALOGDEMO) {}

void CDemoDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COLOR, m_colorButton);
}

BOOL CDemoDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_swatch.SubclassDlgItem(IDC_SWATCH, this);
    ShowColor();
    SetTimer(kTickTimer, 1000, nullptr);
    return TRUE;
}

void CDemoDialog::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kTickTimer) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    ++m_seconds;
    CString text;
    text.Format(u"経過時間: %d 秒", m_seconds);
    SetDlgItemText(IDC_COUNTER, text);
}

void CDemoDialog::OnDestroy() {
    KillTimer(kTickTimer);
    CDialog::OnDestroy();
}

void CDemoDialog::OnGreetingClicked() {
    ++m_taps;
    CString text;
    text.Format(u"タップ %d 回目", m_taps);
    SetDlgItemText(IDC_GREETING, text);
}

void CDemoDialog::OnColorClicked() {
    m_colorIndex = (m_colorIndex + 1) % static_cast<int>(sizeof(kColors) / sizeof(kColors[0]));
    ShowColor();
}

void CDemoDialog::OnLockClicked() {
    // GetDlgItem gives a plain CWnd for a control nobody subclassed: ask the dialog instead.
    m_colorButton.EnableWindow(::IsDlgButtonChecked(m_hWnd, IDC_LOCK) != BST_CHECKED);
}

void CDemoDialog::ShowColor() {
    m_swatch.SetColor(kColors[m_colorIndex].color, kColors[m_colorIndex].name);
    m_colorButton.SetFaceColor(kColors[m_colorIndex].color);
}
