#include "VLFWMenuDialog.h"

#include "VLFWShared.h"

namespace {

constexpr int kTextCapacity = 1024;
constexpr UINT kIdsStarted = 2;
constexpr UINT kIdsStartFailed = 3;

// A text of VelaFW's own string table; empty when it is missing.
CString LibraryText(UINT id) {
    WCHAR text[kTextCapacity];
    if (::LoadStringW(VLFWResourceHandle(), id, text, kTextCapacity) <= 0) text[0] = 0;
    return CString(text);
}

bool SpecHolds(const CVLFWMenuSpec& spec, const CVLFWMenuItem* item) {
    if (item == nullptr) return false;
    for (INT_PTR i = 0; i < spec.GetSize(); ++i) {
        if (spec.GetAt(i) == item) return true;
    }
    return false;
}

BOOL CALLBACK ReleaseEntryOf(HWND hWnd, LPARAM lParam) {
    auto* button = dynamic_cast<CVLFWMenuButton*>(CWnd::FromHandlePermanent(hWnd));
    if (button != nullptr && SpecHolds(*reinterpret_cast<const CVLFWMenuSpec*>(lParam), button->GetMenuItem())) {
        button->SetMenuItem(nullptr);
    }
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CVLFWMenuDialog, CVLFWDialog)
    ON_REGISTERED_MESSAGE(g_nVLFWMenuTopMessage, OnTopMenu)
    ON_REGISTERED_MESSAGE(g_nVLFWMenuPrevMessage, OnPrevMenu)
    ON_REGISTERED_MESSAGE(g_nVLFWSelectMenuMessage, OnExecItem)
END_MESSAGE_MAP()

CVLFWMenuDialog::CVLFWMenuDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CVLFWDialog(nIDTemplate, pParentWnd) {}

CVLFWMenuDialog::CVLFWMenuDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : CVLFWDialog(lpszTemplateName, pParentWnd) {}

CVLFWMenuDialog::~CVLFWMenuDialog() {
    delete m_pTopButton;
    delete m_pUpButton;
}

void CVLFWMenuDialog::SetLogFileName(LPCWSTR name) {
    m_strLogFileName = name;
    m_pszLogFileName = name != nullptr ? static_cast<LPCWSTR>(m_strLogFileName) : nullptr;
}

void CVLFWMenuDialog::SetUsrName(LPCWSTR name) {
    m_strUsrName = name;
    m_pszUsrName = name != nullptr ? static_cast<LPCWSTR>(m_strUsrName) : nullptr;
}

void CVLFWMenuDialog::SetDeviceName(LPCWSTR name) {
    m_strDeviceName = name;
    m_pszDeviceName = name != nullptr ? static_cast<LPCWSTR>(m_strDeviceName) : nullptr;
}

void CVLFWMenuDialog::CreateMenuButtons() {
    if (m_pTopButton == nullptr) m_pTopButton = new CVLFWMenuTopButton;
    if (m_pUpButton == nullptr) m_pUpButton = new CVLFWMenuUpButton;
}

BOOL CVLFWMenuDialog::ReadSpec(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName) {
    // Copies first: the arguments may be texts of the entries that the read deletes.
    const CString strPath(path);
    const CString strDispName(dispName);
    const CString strLogonName(logonName);
    ReleaseEntryButtons();
    DiscardQueuedSelections();
    // Never null, so the menu always counts as using log-on.
    if (!m_spec.Read(strPath, strDispName, strLogonName)) return FALSE;
    m_astrPath.Add(strPath);
    m_astrDispName.Add(strDispName);
    m_astrLogonName.Add(strLogonName);
    StateChange();
    return TRUE;
}

DWORD CVLFWMenuDialog::ExecMenuItem(CVLFWMenuItem* item) {
    if (item == nullptr) return ERROR_INVALID_PARAMETER;
    CString arguments(item->GetArg());
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(item->GetFullPath(), arguments.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          nullptr, &info)) {
        const DWORD error = ::GetLastError();
        // A failed start must never read as a started program.
        return error != ERROR_SUCCESS ? error : ERROR_INVALID_FUNCTION;
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}

LRESULT CVLFWMenuDialog::OnTopMenu(WPARAM, LPARAM) {
    if (GetDepth() <= 1) return 0;
    const CString path(m_astrPath[0]);
    const CString dispName(m_astrDispName[0]);
    const CString logonName(m_astrLogonName[0]);
    m_astrPath.RemoveAll();
    m_astrDispName.RemoveAll();
    m_astrLogonName.RemoveAll();
    ReadSpec(path, dispName, logonName);
    StateChange();
    return 0;
}

LRESULT CVLFWMenuDialog::OnPrevMenu(WPARAM, LPARAM) {
    if (GetDepth() <= 1) return 0;
    const INT_PTR k = GetDepth() - 2;
    const CString path(m_astrPath[k]);
    const CString dispName(m_astrDispName[k]);
    const CString logonName(m_astrLogonName[k]);
    m_astrPath.SetSize(k);
    m_astrDispName.SetSize(k);
    m_astrLogonName.SetSize(k);
    ReadSpec(path, dispName, logonName);
    return 0;
}

LRESULT CVLFWMenuDialog::OnExecItem(WPARAM, LPARAM lParam) {
    auto* item = reinterpret_cast<CVLFWMenuItem*>(lParam);
    // A click queued before the menu changed names an entry that is gone: never touch it.
    if (!HoldsEntry(item)) return 0;
    if (item->IsDirectory()) {
        const CString path(item->GetFullPath());
        const CString dispName(item->GetDispName());
        const CString logonName(item->GetLogonName());
        ReadSpec(path, dispName, logonName);
    } else if (item->IsItem()) {
        m_log.StartLog(u"ptbox", item->GetDispName());
        const DWORD code = ExecMenuItem(item);
        if (code != 0) {
            CString message;
            message.Format(u"[0x%08x] %s", code, static_cast<LPCWSTR>(LibraryText(kIdsStartFailed)));
            m_log.EndLog(code, message);
        } else {
            m_log.EndLog(0, LibraryText(kIdsStarted));
        }
    }
    return 0;
}

void CVLFWMenuDialog::StateChange() {
    const BOOL bEnable = GetDepth() >= 2;
    CButton* special[] = {m_pTopButton, m_pUpButton};
    for (CButton* button : special) {
        if (button != nullptr && button->IsWindow()) button->EnableWindow(bEnable);
    }
    if (m_hWnd != nullptr) Invalidate(TRUE);
}

void CVLFWMenuDialog::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) CreateMenuButtons();
}

BOOL CVLFWMenuDialog::OnInitDialog() {
    m_log.InitLog(m_pszLogFileName, m_pszUsrName, m_pszDeviceName, m_dwLogID);
    CVLFWDialog::OnInitDialog();
    StateChange();
    return TRUE;
}

BOOL CVLFWMenuDialog::HoldsEntry(const CVLFWMenuItem* item) const { return SpecHolds(m_spec, item); }

void CVLFWMenuDialog::DiscardQueuedSelections() {
    if (m_hWnd == nullptr) return;
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, g_nVLFWSelectMenuMessage, g_nVLFWSelectMenuMessage, PM_REMOVE)) {
    }
}

void CVLFWMenuDialog::ReleaseEntryButtons() {
    if (m_hWnd == nullptr) return;
    ::EnumChildWindows(m_hWnd, &ReleaseEntryOf, reinterpret_cast<LPARAM>(&m_spec));
}
