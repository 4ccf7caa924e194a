// The control classes (CStatic, CButton, CEdit): CWnd wrappers of the platform's built-in
// "STATIC", "BUTTON" and "EDIT" windows. Included from afxwin.h after CWnd.
#pragma once

#include <windows.h>

#include "afxgdi.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    using CWnd::Create;  // the general form stays reachable beside the control's own
    CStatic();
    ~CStatic() override;

    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);

    // SS_ICON / SS_BITMAP pictures; each returns the picture shown before (the caller owns both).
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    using CWnd::Create;  // the general form stays reachable beside the control's own
    CButton();
    ~CButton() override;

    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // BST_PUSHED / BST_FOCUS / check bits, as BM_GETSTATE.
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    int GetCheck() const;
    void SetCheck(int nCheck);
    // The low byte of the style: the button's type (BS_PUSHBUTTON ... BS_OWNERDRAW) and BS_LEFTTEXT.
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;

    // Owner draw (BS_OWNERDRAW): the parent's WM_DRAWITEM is reflected here. The base version
    // draws nothing; an owner-drawn button class overrides it.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    using CWnd::Create;  // the general form stays reachable beside the control's own
    CEdit();
    ~CEdit() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Selection as EM_GETSEL packs it: start in the low word, end in the high word.
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    // nStartChar 0 and nEndChar -1 select everything; nStartChar -1 removes the selection.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    BOOL Undo();
    BOOL CanUndo() const;
    void EmptyUndoBuffer();

    // nChars 0 lifts the limit to the platform's maximum.
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    void SetPasswordChar(TCHAR ch);
    TCHAR GetPasswordChar() const;
    int GetLineCount() const;
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    void GetRect(LPRECT lpRect) const;
};
