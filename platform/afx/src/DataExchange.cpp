// Dialog data exchange: UpdateData and the DDX_/DDV_ functions that move values between a
// dialog's controls and its members.
#include <afxwin.h>

#include <climits>

#include "AfxThreadState.h"

IMPLEMENT_DYNAMIC(CUserException, CObject)

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    CDataExchange dx(this, bSaveAndValidate);
    // Setting a control's text makes it notify its parent; those echoes are not user input.
    afx::ThreadState& state = afx::CurrentThreadState();
    HWND hWndOldLockout = state.hLockoutNotifyWindow;
    state.hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (const CUserException&) {
        bOK = FALSE;  // Fail() told the user and put the focus where the fault is
    }
    state.hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(nullptr), m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr) {
        OutputDebugStringW(vela::FormatWideArgs(u"Error: no data exchange control with ID %d.\n", nIDC).c_str());
        Fail();
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
        // Back to the control whose value was refused, its text selected for retyping.
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) {
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
        }
    }
    throw CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) {
        return;  // attached by an earlier exchange
    }
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) {
        OutputDebugStringW(
            vela::FormatWideArgs(u"Error: control %d is already attached to another object.\n", nIDC).c_str());
        pDX->Fail();
    }
}

namespace {

CString ControlText(HWND hWndCtrl) {
    CString text;
    int nLen = ::GetWindowTextLengthW(hWndCtrl);
    if (nLen > 0) {
        int nGot = ::GetWindowTextW(hWndCtrl, text.GetBuffer(nLen), nLen + 1);
        text.ReleaseBuffer(nGot > 0 ? nGot : 0);
    }
    return text;
}

// Sets the text only when it differs, so an unchanged control does not flicker or notify.
void SetControlText(HWND hWndCtrl, LPCTSTR lpszNew) {
    if (ControlText(hWndCtrl).Compare(lpszNew) != 0) {
        ::SetWindowTextW(hWndCtrl, lpszNew);
    }
}

// A whole number with optional blanks and sign; FALSE for anything else or out of range.
BOOL ParseInteger(const CString& text, bool bSigned, long long nMin, long long nMax, long long* pValue) {
    CString s(text);
    s.Trim();
    int i = 0;
    bool bNegative = false;
    if (i < s.GetLength() && (s[i] == u'+' || s[i] == u'-')) {
        bNegative = s[i] == u'-';
        if (bNegative && !bSigned) return FALSE;
        ++i;
    }
    if (i >= s.GetLength()) return FALSE;
    long long value = 0;
    for (; i < s.GetLength(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') return FALSE;
        value = value * 10 + (s[i] - u'0');
        if (value > nMax + (bNegative ? 1LL : 0LL)) return FALSE;
    }
    if (bNegative) value = -value;
    if (value < nMin || value > nMax) return FALSE;
    *pValue = value;
    return TRUE;
}

void FailWithMessage(CDataExchange* pDX, LPCTSTR lpszPrompt) {
    AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <typename Int>
void ExchangeInteger(CDataExchange* pDX, int nIDC, Int& value, bool bSigned, long long nMin, long long nMax) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseInteger(ControlText(hWndCtrl), bSigned, nMin, nMax, &parsed)) {
            FailWithMessage(pDX, bSigned ? u"Enter an integer." : u"Enter a positive integer.");
        }
        value = static_cast<Int>(parsed);
    } else {
        SetControlText(hWndCtrl, vela::FormatWideArgs(bSigned ? u"%lld" : u"%llu", static_cast<long long>(value)).c_str());
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(hWndCtrl);
    } else {
        SetControlText(hWndCtrl, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeInteger(pDX, nIDC, value, true, INT_MIN, INT_MAX); }

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeInteger(pDX, nIDC, value, false, 0, UINT_MAX); }

void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ExchangeInteger(pDX, nIDC, value, true, LONG_MIN, LONG_MAX);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    // nIDC is the first button of a group; value is the index of the checked one, -1 for none.
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    int iButton = 0;
    do {
        if ((::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0) != 0) {
                    value = iButton;
                }
            } else {
                ::SendMessageW(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            ++iButton;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != nullptr && (::GetWindowLongW(hWndCtrl, GWL_STYLE) & WS_GROUP) == 0);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            FailWithMessage(pDX, vela::FormatWideArgs(u"Enter no more than %d characters.", nChars).c_str());
        }
    } else if (pDX->m_hWndLastControl != nullptr && pDX->m_bEditLastControl) {
        ::SendMessageW(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        FailWithMessage(pDX, vela::FormatWideArgs(u"Enter an integer between %d and %d.", minVal, maxVal).c_str());
    }
}
