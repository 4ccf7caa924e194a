// CVLFWMenuItem: one entry of a menu. CVLFWMenuSpec: the entries of one menu specification
// file, in file order, with the title, path and log-on user it was read for.
#pragma once

#include <windows.h>
#include <afx.h>
#include <afxcoll.h>

class AFX_EXT_CLASS CVLFWMenuItem {
public:
    CVLFWMenuItem();
    CVLFWMenuItem(const CVLFWMenuItem& other);
    CVLFWMenuItem& operator=(const CVLFWMenuItem& other);
    ~CVLFWMenuItem();

    const CString& GetSelect() const { return m_strSelect; }
    const CString& GetDispName() const { return m_strDispName; }
    const CString& GetLogonName() const { return m_strLogonName; }
    const CString& GetFullPath() const { return m_strFullPath; }
    const CString& GetArg() const { return m_strArg; }
    const CString& GetWorkingDirectory() const { return m_strWorkingDirectory; }
    const CString& GetDescription() const { return m_strDescription; }
    BOOL IsUseLogon() const { return m_bUseLogon; }
    int GetShowCommand() const { return m_nShowCommand; }
    // Each 0 or 1: program entry, sub-menu entry, label, blank placeholder.
    BOOL IsItem() const;
    BOOL IsDirectory() const;
    BOOL IsComment() const;
    BOOL IsEmpty() const;

protected:
    void SetSelect(const CString& value) { m_strSelect = value; }
    void SetDispName(const CString& value) { m_strDispName = value; }
    void SetLogonName(const CString& value) { m_strLogonName = value; }
    void SetFullPath(const CString& value) { m_strFullPath = value; }
    void SetArg(const CString& value) { m_strArg = value; }
    void SetWorkingDirectory(const CString& value) { m_strWorkingDirectory = value; }
    void SetDescription(const CString& value) { m_strDescription = value; }
    void SetUseLogon(BOOL value) { m_bUseLogon = value; }
    void SetShowCommand(int value) { m_nShowCommand = value; }
    // Each sets (nonzero) or clears (zero) its one bit and leaves the others alone.
    void SetItem(BOOL value);
    void SetDirectory(BOOL value);
    void SetComment(BOOL value);
    void SetEmpty(BOOL value);

private:
    friend class CVLFWMenuSpec;

    void ClearFlags();

    DWORD m_dwFlags;
    CString m_strSelect;
    CString m_strDispName;
    BOOL m_bUseLogon;
    CString m_strLogonName;
    CString m_strFullPath;
    CString m_strArg;
    CString m_strWorkingDirectory;
    int m_nShowCommand;
    CString m_strDescription;
};

class AFX_EXT_CLASS CVLFWMenuSpec : public CPtrArray {
public:
    CVLFWMenuSpec();
    ~CVLFWMenuSpec() override;

    // Reads the menu file path. dispName null keeps the previous title; logonName null means
    // no log-on user, an empty one a log-on user without a name.
    BOOL Read(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName);

    const CString& GetDispName() const { return m_strDispName; }
    const CString& GetFullPath() const { return m_strFullPath; }
    const CString& GetLogonName() const { return m_strLogonName; }
    BOOL IsUseLogon() const { return m_bUseLogon; }

private:
    CVLFWMenuSpec(const CVLFWMenuSpec&) = delete;
    CVLFWMenuSpec& operator=(const CVLFWMenuSpec&) = delete;

    int Add(CVLFWMenuItem* item);
    void Clean();

    CString m_strDispName;
    CString m_strFullPath;
    BOOL m_bUseLogon;
    CString m_strLogonName;
    CMapStringToPtr m_mapName;
};
