#include "VLFWMainFrame.h"

#include <dbt.h>

#include "VLFWShared.h"
#include "VelaFWBaseWaitStart.h"

IMPLEMENT_DYNCREATE(CVLFWMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CVLFWMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_DEVICECHANGE, OnDevChange)
    ON_MESSAGE(WM_FLIPKEY_INPUT, OnFlipKeyInput)
END_MESSAGE_MAP()

CVLFWMainFrame::CVLFWMainFrame() = default;

CVLFWMainFrame::~CVLFWMainFrame() = default;

int CVLFWMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    VLFWPostWaitStart();
    return 0;
}

LRESULT CVLFWMainFrame::OnDevChange(WPARAM wParam, LPARAM lParam) { return CVelaFWBase::OnDevChange(wParam, lParam); }

LRESULT CVLFWMainFrame::OnFlipKeyInput(WPARAM wParam, LPARAM lParam) {
    return CVelaFWBase::OnFlipKeyInput(wParam, lParam);
}
