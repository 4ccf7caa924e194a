#include "VelaSysBase.h"

#include "ShellStart.h"

namespace {

constexpr int kNoApplet = -1;

}  // namespace

CVelaSysBase::CVelaSysBase() : m_nAppletIndex(kNoApplet), m_bEnableShowProperty(TRUE) {}

void CVelaSysBase::SetEnableShowProperty(BOOL enable) { m_bEnableShowProperty = enable; }

BOOL CVelaSysBase::CanShowProperty() const {
    return m_nAppletIndex != kNoApplet && m_bEnableShowProperty != FALSE;
}

void CVelaSysBase::ShowProperty(HWND parent) {
    if (!CanShowProperty()) return;
    CString parameters;
    parameters.Format(u"%s,%d", u"\\Windows\\cplmain.cpl", m_nAppletIndex);
    velasys::StartShellProgram(parent, u"CTLPNL.EXE", parameters);
}
