// CVLFWMenuDialog: the menu launcher's dialog. It holds the menu on screen, the path of menu
// files from the first menu to it, walks down into sub-menus, up one level and back to the
// first menu, and starts the programs of chosen entries with one log record pair each.
//
// The application derives its own dialog: it supplies the template, attaches the entry buttons
// and the two special buttons (m_pTopButton, m_pUpButton, made by CreateMenuButtons) to its
// controls, and hands the entries of m_spec to its entry buttons after every ReadSpec.
#pragma once

#include <afxwin.h>
#include <afxdialog.h>

#include <VLSysLogFile.h>

#include "VLFWDialog.h"
#include "VLFWMenuButton.h"
#include "VLFWMenuSpec.h"

class AFX_EXT_CLASS CVLFWMenuDialog : public CVLFWDialog {
public:
    ~CVLFWMenuDialog() override;

protected:
    CVLFWMenuDialog(UINT nIDTemplate, CWnd* pParentWnd);
    CVLFWMenuDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd);

    // The log's identity, handed to the log when the dialog starts. The texts are copied.
    void SetLogFileName(LPCWSTR name);
    void SetUsrName(LPCWSTR name);
    void SetDeviceName(LPCWSTR name);
    void SetLogID(DWORD id) { m_dwLogID = id; }

    // Makes the special button objects (no windows): the derived dialog attaches them.
    virtual void CreateMenuButtons();
    // Shows the menu file path as a new level; null arguments count as empty. Entries of the
    // previous menu are gone afterwards, also when the file cannot be read (FALSE).
    virtual BOOL ReadSpec(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName);
    // Starts a program entry: 0, or the platform's error code.
    virtual DWORD ExecMenuItem(CVLFWMenuItem* item);

    afx_msg LRESULT OnTopMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrevMenu(WPARAM wParam, LPARAM lParam);
    // lParam: an entry of m_spec. Anything else (an entry of a menu left since the click was
    // queued) is ignored.
    afx_msg LRESULT OnExecItem(WPARAM wParam, LPARAM lParam);

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // The navigation depth: 1 while the first menu is shown.
    INT_PTR GetDepth() const { return m_astrPath.GetSize(); }

    CVLSysLogFile m_log;
    CVLFWMenuSpec m_spec;
    CVLFWMenuTopButton* m_pTopButton = nullptr;
    CVLFWMenuUpButton* m_pUpButton = nullptr;
    CStringArray m_astrPath;
    CStringArray m_astrDispName;
    CStringArray m_astrLogonName;

    DECLARE_MESSAGE_MAP()

private:
    // Enables the special buttons from depth 2 on, then repaints the dialog.
    void StateChange();
    BOOL HoldsEntry(const CVLFWMenuItem* item) const;
    // Entry buttons of this dialog let go of the entries of the menu about to be replaced.
    void ReleaseEntryButtons();
    // Clicks still queued name entries of the menu about to be replaced; a new entry may even
    // take the address of an old one, so they are dropped rather than checked later.
    void DiscardQueuedSelections();

    // Copies of the texts given; a null pointer stays null (the log's default).
    CString m_strLogFileName;
    CString m_strUsrName;
    CString m_strDeviceName;
    LPCWSTR m_pszLogFileName = nullptr;
    LPCWSTR m_pszUsrName = nullptr;
    LPCWSTR m_pszDeviceName = nullptr;
    DWORD m_dwLogID = 1;
};
