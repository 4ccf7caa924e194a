// CWinApp: the one application object of the program, its name and start-up values, and
// AfxWinMain, which runs it.
#include <afxwin.h>

#include <vector>

#include <vela/Utf.h>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

namespace {

// The application's title in its string table (the class library's AFX_IDS_APP_TITLE).
constexpr UINT kAppTitleStringId = 0xE000;

// The executable's file name without folder and extension.
CString ExecutableTitle() {
    WCHAR path[MAX_PATH] = {};
    DWORD nLen = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString title(path, static_cast<int>(nLen));
    int nSlash = title.ReverseFind(u'\\');
    if (nSlash >= 0) title = title.Mid(nSlash + 1);
    nSlash = title.ReverseFind(u'/');
    if (nSlash >= 0) title = title.Mid(nSlash + 1);
    int nDot = title.ReverseFind(u'.');
    if (nDot > 0) title = title.Left(nDot);
    return title;
}

// Splits a command line into arguments as the platform's C runtime does: blanks separate,
// double quotes group, a backslash before a quote makes it literal.
std::vector<CString> SplitArguments(LPCTSTR pszCmdLine) {
    std::vector<CString> args;
    if (pszCmdLine == nullptr) {
        return args;
    }
    const WCHAR* p = pszCmdLine;
    for (;;) {
        while (*p == u' ' || *p == u'\t') ++p;
        if (*p == 0) break;
        CString arg;
        bool bQuoted = false;
        for (; *p != 0 && (bQuoted || (*p != u' ' && *p != u'\t')); ++p) {
            if (*p == u'\\') {
                int nSlashes = 0;
                while (p[nSlashes] == u'\\') ++nSlashes;
                if (p[nSlashes] == u'"') {
                    for (int i = 0; i < nSlashes / 2; ++i) arg += u'\\';
                    p += nSlashes;
                    if (nSlashes % 2 == 1) {
                        arg += u'"';
                    } else {
                        bQuoted = !bQuoted;
                    }
                } else {
                    for (int i = 0; i < nSlashes; ++i) arg += u'\\';
                    p += nSlashes - 1;
                }
            } else if (*p == u'"') {
                bQuoted = !bQuoted;
            } else {
                arg += *p;
            }
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(nullptr),
      m_hInstance(nullptr),
      m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pszExeName(nullptr),
      m_bAppNameGiven(lpszAppName != nullptr) {
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    pState->m_pCurrentWinApp = this;
    // The application object runs on the thread that constructs it (the program's first).
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE;

    m_strExeName = ExecutableTitle();
    m_pszExeName = m_strExeName;
    m_strAppName = lpszAppName != nullptr ? CString(lpszAppName) : m_strExeName;
    m_pszAppName = m_strAppName;
    m_strCmdLine = u"";
    m_lpCmdLine = m_strCmdLine.GetBuffer();
    pState->m_lpszCurrentAppName = m_pszAppName;
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_pCurrentWinApp == this) {
        pState->m_pCurrentWinApp = nullptr;
        pState->m_lpszCurrentAppName = nullptr;
    }
}

void CWinApp::SetStartup(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow) {
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (hInstance != nullptr) {
        m_hInstance = hInstance;
        pState->m_hCurrentInstanceHandle = hInstance;
        if (pState->m_hCurrentResourceHandle == nullptr) {
            pState->m_hCurrentResourceHandle = hInstance;
        }
    } else {
        m_hInstance = AfxGetInstanceHandle();
    }
    m_strCmdLine = lpCmdLine != nullptr ? CString(lpCmdLine) : CString();
    m_lpCmdLine = m_strCmdLine.GetBuffer();
    m_nCmdShow = nCmdShow;
    if (!m_bAppNameGiven) {
        // An application without a name of its own takes its title string, else the file name.
        const WCHAR* pTitle = nullptr;
        int nLen = ::LoadStringW(m_hInstance, kAppTitleStringId, reinterpret_cast<LPWSTR>(&pTitle), 0);
        if (nLen > 0) {
            m_strAppName = CString(pTitle, nLen);
            m_pszAppName = m_strAppName;
            pState->m_lpszCurrentAppName = m_pszAppName;
        }
    }
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    if (m_pMainWnd == nullptr) {
        // Nothing can ever end the loop but a WM_QUIT from elsewhere; say so, as the library does.
        OutputDebugStringW(u"Warning: m_pMainWnd is NULL in CWinApp::Run - quitting application.\n");
        ::PostQuitMessage(0);
    }
    return CWinThread::Run();
}

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    std::vector<CString> args = SplitArguments(m_lpCmdLine);
    for (size_t i = 0; i < args.size(); ++i) {
        LPCTSTR pszParam = args[i];
        BOOL bFlag = FALSE;
        BOOL bLast = i + 1 == args.size();
        if (pszParam[0] == u'-' || pszParam[0] == u'/') {
            bFlag = TRUE;
            ++pszParam;
        }
        rCmdInfo.ParseParam(pszParam, bFlag, bLast);
    }
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        return FALSE;
    }
    pApp->SetStartup(hInstance, lpCmdLine, nCmdShow);
    return TRUE;
}

void AfxWinTerm() {
    CWnd::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    int nReturnCode = -1;
    CWinThread* pThread = AfxGetThread();
    if (pThread == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) {
        OutputDebugStringW(u"AfxWinMain: the program has no CWinApp object.\n");
        AfxWinTerm();
        return nReturnCode;
    }
    if (!pThread->InitInstance()) {
        // ExitInstance runs also now; what it returns is the program's exit code.
        if (pThread->m_pMainWnd != nullptr) {
            pThread->m_pMainWnd->DestroyWindow();
        }
        nReturnCode = pThread->ExitInstance();
    } else {
        nReturnCode = pThread->Run();  // Run ends with ExitInstance
    }
    AfxWinTerm();
    return nReturnCode;
}
