// CDialog: dialogs from templates found through the resource chain, modeless (Create) or modal
// (DoModal, with the class library's own modal loop so PreTranslateMessage sees every message).
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    // The object handles WM_INITDIALOG in its window procedure; a dialog of this procedure
    // without an object still gets the platform's default focus.
    if (message == WM_INITDIALOG) {
        return CWnd::FromHandlePermanent(hWnd) == nullptr;
    }
    return FALSE;
}

CDialog::CDialog()
    : m_nIDHelp(0),
      m_lpszTemplateName(nullptr),
      m_lpDialogTemplate(nullptr),
      m_lpDialogInit(nullptr),
      m_pParentWnd(nullptr),
      m_hWndTop(nullptr) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog() {
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    if (IS_INTRESOURCE(lpszTemplateName)) {
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    }
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
    m_lpszTemplateName = MAKEINTRESOURCEW(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
}

CDialog::~CDialog() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

LPCDLGTEMPLATE CDialog::FindTemplate(HINSTANCE* phInst) const {
    if (m_lpszTemplateName == nullptr) {
        *phInst = AfxGetResourceHandle();
        return m_lpDialogTemplate;
    }
    // The application first, then every extension library that has a template of this name.
    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    *phInst = hInst;
    HRSRC hResource = ::FindResourceW(hInst, m_lpszTemplateName, RT_DIALOG);
    if (hResource == nullptr) {
        return nullptr;
    }
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    return hTemplate != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
    if (lpDialogTemplate == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;

    HookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                                             &AfxDlgProc, 0);
    UnhookWindowCreate();

    if (hWnd != nullptr && (m_nFlags & WF_CONTINUEMODAL) == 0) {
        // EndDialog already in OnInitDialog: the dialog is over before it showed.
        ::DestroyWindow(hWnd);
        hWnd = nullptr;
    }
    if (hWnd == nullptr && m_hWnd != nullptr && !::IsWindow(m_hWnd)) {
        Detach();
    }
    return hWnd != nullptr;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0) {
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    }
    if (pParentWnd == nullptr) {
        pParentWnd = AfxGetMainWnd();
    }
    m_pParentWnd = pParentWnd;
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE lpTemplate = FindTemplate(&hInst);
    if (lpTemplate == nullptr) {
        ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
    if (pParentWnd == nullptr) {
        pParentWnd = AfxGetMainWnd();
    }
    m_pParentWnd = pParentWnd;
    m_lpDialogInit = lpDialogInit;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
    m_lpszTemplateName = nullptr;
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE lpTemplate = FindTemplate(&hInst);
    if (lpTemplate == nullptr) {
        return -1;
    }

    // The owner: the given parent, else the application's main window, as its top-level window.
    CWnd* pParent = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    HWND hWndParent = pParent != nullptr ? pParent->m_hWnd : nullptr;
    while (hWndParent != nullptr && (::GetWindowLongW(hWndParent, GWL_STYLE) & WS_CHILD) != 0) {
        hWndParent = ::GetParent(hWndParent);
    }
    if (hWndParent != nullptr && !::IsWindow(hWndParent)) {
        hWndParent = nullptr;
    }
    m_hWndTop = hWndParent;

    BOOL bEnableParent = FALSE;
    if (hWndParent != nullptr && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndParent), hInst)) {
        if ((m_nFlags & WF_CONTINUEMODAL) != 0) {
            RunModalLoop(0x0001 /* show when idle */);
        }
        if (m_hWnd != nullptr) {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    if (bEnableParent) {
        ::EnableWindow(hWndParent, TRUE);
    }
    if (hWndParent != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd) {
        ::SetActiveWindow(hWndParent);
    }
    DestroyWindow();
    m_hWndTop = nullptr;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    if ((m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) != 0) {
        EndModalLoop(nResult);
    }
    ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    PreInitDialog();
    return OnInitDialog();
}

void CDialog::PreInitDialog() {}

BOOL CDialog::OnInitDialog() {
    // Members to controls; a failing exchange ends the dialog with -1.
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;  // the platform puts the focus on the first control
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;  // the exchange put the focus on the control at fault
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Keys and stylus go through the dialog manager: tab order, default button, Esc.
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput || m_hWnd == nullptr) {
        return FALSE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDialog::NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl != nullptr ? pWndCtrl->m_hWnd : nullptr), 1);
}

void CDialog::SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
