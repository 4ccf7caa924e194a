// CVelaSysBase: base of the device classes. It opens the terminal's settings page that belongs
// to the class (a control panel page, or for some classes a settings program of their own).
#pragma once

#include <windows.h>
#include <afx.h>

class AFX_EXT_CLASS CVelaSysBase {
public:
    CVelaSysBase();
    CVelaSysBase(const CVelaSysBase& other) = default;
    CVelaSysBase& operator=(const CVelaSysBase& other) = default;
    ~CVelaSysBase() = default;

    void SetEnableShowProperty(BOOL enable);

    // Starts "CTLPNL.EXE" on the class's control panel page and does not wait for it. Not
    // virtual: a caller holding a base reference opens the page of the base's m_nAppletIndex.
    void ShowProperty(HWND parent);

protected:
    // Whether ShowProperty may open anything at all.
    BOOL CanShowProperty() const;

    int m_nAppletIndex;           // control panel page; -1: none
    BOOL m_bEnableShowProperty;
};
