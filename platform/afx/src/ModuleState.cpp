// The module state of the process: the application object, its instance and resource handles,
// and the chain of extension libraries that resource look-ups search after the application.
#include <afxwin.h>

#include <mutex>

namespace {

AFX_MODULE_STATE& ProcessModuleState() {
    static AFX_MODULE_STATE state{};
    return state;
}

std::recursive_mutex& LibraryLock() {
    static std::recursive_mutex lock;
    return lock;
}

}  // namespace

AFX_MODULE_STATE* AfxGetModuleState() { return &ProcessModuleState(); }
AFX_MODULE_STATE* AfxGetStaticModuleState() { return &ProcessModuleState(); }
AFX_MODULE_STATE* AfxGetAppModuleState() { return &ProcessModuleState(); }

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState) : m_pPrevState(pNewState) {}
AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() = default;

CWinApp* AfxGetApp() { return ProcessModuleState().m_pCurrentWinApp; }

CWnd* AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    AFX_MODULE_STATE& state = ProcessModuleState();
    if (state.m_hCurrentInstanceHandle == nullptr) {
        state.m_hCurrentInstanceHandle = ::GetModuleHandleW(nullptr);
    }
    return state.m_hCurrentInstanceHandle;
}

HINSTANCE AfxGetResourceHandle() {
    AFX_MODULE_STATE& state = ProcessModuleState();
    return state.m_hCurrentResourceHandle != nullptr ? state.m_hCurrentResourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { ProcessModuleState().m_hCurrentResourceHandle = hInstResource; }

LPCTSTR AfxGetAppName() {
    AFX_MODULE_STATE& state = ProcessModuleState();
    if (state.m_pCurrentWinApp != nullptr) {
        return state.m_pCurrentWinApp->m_pszAppName;
    }
    return state.m_lpszCurrentAppName != nullptr ? state.m_lpszCurrentAppName : u"";
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
    // A miss in one module is not an error of the caller's: the last error stays as it was.
    DWORD dwLastError = ::GetLastError();
    HINSTANCE hInst = AfxGetResourceHandle();
    HINSTANCE hFound = nullptr;
    if (::FindResourceW(hInst, lpszName, lpszType) != nullptr) {
        hFound = hInst;
    } else {
        std::lock_guard<std::recursive_mutex> guard(LibraryLock());
        // Application extension libraries first, then the system's, each newest first.
        for (int pass = 0; pass < 2 && hFound == nullptr; ++pass) {
            for (CDynLinkLibrary* pDLL = ProcessModuleState().m_pFirstLibrary; pDLL != nullptr;
                 pDLL = pDLL->m_pNextDLL) {
                if ((pDLL->m_bSystem != FALSE) == (pass == 1) && pDLL->m_hResource != nullptr &&
                    ::FindResourceW(pDLL->m_hResource, lpszName, lpszType) != nullptr) {
                    hFound = pDLL->m_hResource;
                    break;
                }
            }
        }
    }
    ::SetLastError(dwLastError);
    return hFound != nullptr ? hFound : hInst;
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule),
      m_hResource(state.hResource),
      m_pFirstSharedClass(state.pFirstSharedClass),
      m_bSystem(bSystem),
      m_pNextDLL(nullptr) {
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    m_pNextDLL = ProcessModuleState().m_pFirstLibrary;
    ProcessModuleState().m_pFirstLibrary = this;
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule),
      m_hResource(hResource),
      m_pFirstSharedClass(nullptr),
      m_bSystem(FALSE),
      m_pNextDLL(nullptr) {
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    m_pNextDLL = ProcessModuleState().m_pFirstLibrary;
    ProcessModuleState().m_pFirstLibrary = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    std::lock_guard<std::recursive_mutex> guard(LibraryLock());
    for (CDynLinkLibrary** link = &ProcessModuleState().m_pFirstLibrary; *link != nullptr;
         link = &(*link)->m_pNextDLL) {
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
    }
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (state.bInitialized) {
        return TRUE;  // a second load of the same library shares the first registration
    }
    if (hModule == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    state.hModule = hModule;
    state.hResource = hModule;
    state.pFirstSharedClass = nullptr;
    state.pFirstSharedFactory = nullptr;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
    if (!state.bInitialized) {
        return;
    }
    {
        // Every link the library made goes, so no look-up reaches a module that is gone.
        std::lock_guard<std::recursive_mutex> guard(LibraryLock());
        CDynLinkLibrary* pDLL = ProcessModuleState().m_pFirstLibrary;
        while (pDLL != nullptr) {
            CDynLinkLibrary* pNext = pDLL->m_pNextDLL;
            if (bAll || pDLL->m_hModule == state.hModule) {
                delete pDLL;
            }
            pDLL = pNext;
        }
    }
    state.bInitialized = FALSE;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    // Without an icon of its own, a question gets the question mark and the rest the exclamation.
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
            case MB_OK:
            case MB_OKCANCEL:
                nType |= MB_ICONEXCLAMATION;
                break;
            case MB_YESNO:
            case MB_YESNOCANCEL:
                nType |= MB_ICONQUESTION;
                break;
            default:
                break;
        }
    }
    HWND hWndOwner = ::GetActiveWindow();
    if (hWndOwner == nullptr) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWndOwner = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    }
    return ::MessageBoxW(hWndOwner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW((nIDPrompt >> 4) + 1), RT_STRING);
    const WCHAR* pText = nullptr;
    int nLen = ::LoadStringW(hInst, nIDPrompt, reinterpret_cast<LPWSTR>(&pText), 0);
    CString text = nLen > 0 ? CString(pText, nLen) : CString();
    return AfxMessageBox(text, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}
