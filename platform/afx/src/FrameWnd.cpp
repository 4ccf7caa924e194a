// CFrameWnd: a top-level window that owns its object (deleted with the window) and whose
// closing ends the application when it is the main window.
#include <afxwin.h>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle, void* pContext) {
    int x = rect.left;
    int y = rect.top;
    // rectDefault leaves place and size to the window manager.
    bool bDefault = rect.left == CW_USEDEFAULT && rect.top == CW_USEDEFAULT && rect.right == 0 && rect.bottom == 0;
    int cx = bDefault ? CW_USEDEFAULT : rect.right - rect.left;
    int cy = bDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, void* pContext) {
    // The frame's title is string nIDResource up to its first '\n'.
    CString title;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW((nIDResource >> 4) + 1), RT_STRING);
    const WCHAR* pText = nullptr;
    int nLen = ::LoadStringW(hInst, nIDResource, reinterpret_cast<LPWSTR>(&pText), 0);
    if (nLen > 0) {
        title = CString(pText, nLen);
        int nNewLine = title.Find(u'\n');
        if (nNewLine >= 0) title = title.Left(nNewLine);
    }
    return Create(nullptr, title, dwDefaultStyle & ~FWS_ADDTOTITLE, rectDefault, pParentWnd, nullptr, 0, pContext);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        nCmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
    }
    ShowWindow(nCmdShow);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnClose() {
    // Destroying the main window posts the WM_QUIT that ends the application's loop.
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    // A frame is made with new and lives exactly as long as its window.
    delete this;
}
