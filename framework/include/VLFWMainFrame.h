// CVLFWMainFrame: a frame window of the framework. Its creation asks the application to wait
// for its devices; device broadcasts and the flip key go to its CVelaFWBase part.
#pragma once

#include <afxwin.h>

#include "VelaFWBase.h"

class AFX_EXT_CLASS CVLFWMainFrame : public CFrameWnd, public CVelaFWBase {
    DECLARE_DYNCREATE(CVLFWMainFrame)

protected:
    CVLFWMainFrame();
    ~CVLFWMainFrame() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnDevChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFlipKeyInput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
