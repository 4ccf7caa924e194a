// The class library's window layer: command targets and message maps, windows, frames,
// threads and the application object.
#pragma once

#include "atltypes.h"
#include "afx.h"
#include "afxcoll.h"

#include <type_traits>

class CCmdTarget;
class CWnd;
class CDC;
class CFont;
class CMenu;
class CWinThread;
class CWinApp;
class CDataExchange;
class CDynLinkLibrary;

#define afx_msg
#ifndef PASCAL
#define PASCAL
#endif
#ifndef CALLBACK
#define CALLBACK
#endif

// The 16-bit colour message that the WM_CTLCOLOR* messages are folded into for message maps.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#endif

// A notification that a parent reflects back to the child that sent it.
#define WM_REFLECT_BASE 0xBC00
// Sent by the message loop when it is about to become idle (wParam MSGF_DIALOGBOX in a dialog).
#define WM_KICKIDLE 0x036A
// Asks a window and its descendants to move data between the controls and the C++ object.
#define WM_INITIALUPDATE 0x0364

// ---------------------------------------------------------------------------------------
// Message maps

// The arguments of one message as a message-map entry's handler call sees them.
struct AFX_MSGCALL {
    UINT nMessage;
    WPARAM wParam;
    LPARAM lParam;
    UINT nExtra;  // the control id of a command, the CTLCOLOR_* kind of a colour message
};

// Calls an entry's handler with the arguments unpacked for its exact signature. Each entry
// gets a function made for its handler, so no member-function pointer is ever called through
// a type other than its own.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, const AFX_MSGCALL& call);

// What an entry's result means.
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_msg,      // a window or thread message: the result is the message's result
    AfxSig_cmd,      // a command handler returning nothing: always handled
    AfxSig_cmdEx,    // a command handler returning BOOL: handled when TRUE
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;            // window message, or 0xC000 for a registered one
    UINT nCode;               // notification code of a command
    UINT nID;                 // first control id of a command
    UINT nLastID;             // last control id of a command range
    UINT_PTR nSig;            // AfxSig
    AFX_PMSG pfn;
    const UINT* pnRegistered;  // the number of a registered message, read at dispatch
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const AFX_MSGMAP* GetThisMessageMap();   \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                    \
        typedef baseClass TheBaseClass;                                                 \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                         \
        {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};                              \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,   \
                                              &_messageEntries[0]};               \
        return &messageMap;                                                       \
    }

// ---------------------------------------------------------------------------------------
// Command targets

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Routes a command (nCode a notification code, or MAKELONG(code, WM_REFLECT_BASE +
    // WM_COMMAND) for a reflected one) to this object's message map.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The entry of the map chain (derived maps first) that handles a message, or null.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// ---------------------------------------------------------------------------------------
// Windows

// Flags of CWnd::m_nFlags.
#define WF_MODALLOOP 0x0002   // a modal loop runs for this window
#define WF_CONTINUEMODAL 0x0004
#define WF_TEMPORARY 0x0008   // an object of the temporary map

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd();
    explicit CWnd(HWND hWnd);
    ~CWnd() override;

    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

    // The object of a window: the permanent one, else a temporary object that lives until the
    // thread's next idle time.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes the calling thread's temporary objects (idle time).
    static void DeleteTempMap();

    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    static const MSG* GetCurrentMessage();
    LRESULT Default();

    // Styles
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // Text and font
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Relations
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT nCmd) const;
    BOOL IsChild(const CWnd* pWnd) const;
    UINT GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;

    // Geometry
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    // Painting
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr, UINT flags = 0);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);

    // Focus, timers, capture
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void (CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
    BOOL KillTimer(UINT_PTR nIDEvent);

    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Dialog data
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Overridables
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    virtual int RunModalLoop(DWORD dwFlags = 0);
    virtual WNDPROC* GetSuperWndProcAddr();

    // Offers a message to PreTranslateMessage of its window and then of each parent up to
    // hWndStop; TRUE when one of them took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // Gives the child window a message its parent received (WM_COMMAND, WM_DRAWITEM,
    // WM_CTLCOLOR*): TRUE when the child's object handled it.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // The default handlers: each passes the message on to the window's own procedure.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnClose();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg UINT OnGetDlgCode();

    // Window-creation and subclassing plumbing, used by the library's own classes.
    static LRESULT CALLBACK AfxWndProcBase(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static void HookWindowCreate(CWnd* pWnd);
    static BOOL UnhookWindowCreate();

protected:
    // The window is gone (the last message it gets here is WM_DESTROY): the object lets go of
    // it and PostNcDestroy runs.
    void OnNcDestroy();

    WNDPROC m_pfnSuper;  // the procedure of the window before it was subclassed
    UINT m_nFlags;
    int m_nModalResult;

    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();

// Registers (once per distinct set of arguments) a window class whose procedure is the default
// one, and returns its generated name; the string lives as long as the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// The class name every CWnd::Create without one uses.
#define AFX_WND_CLASS u"AfxWnd"
#define AFX_FRAME_CLASS u"AfxFrameOrView"

// ---------------------------------------------------------------------------------------
// Frames

#define AFX_IDW_PANE_FIRST 0xE900
#define FWS_ADDTOTITLE 0x00008000L

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;

    using CWnd::Create;  // the child-window form stays reachable next to the frame's own
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, void* pContext = nullptr);
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW, CWnd* pParentWnd = nullptr,
                           void* pContext = nullptr);
    void ActivateFrame(int nCmdShow = -1);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;
    afx_msg void OnClose();

    DECLARE_MESSAGE_MAP()
};

#include "afxgdi.h"
#include "afxcontrols.h"

// ---------------------------------------------------------------------------------------
// Threads and the application

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    MSG m_msgCur;

    operator HANDLE() const { return m_hThread; }
    virtual CWnd* GetMainWnd();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    virtual void Delete();

    // Hands a thread message (one without a window) to the thread's message map; TRUE when an
    // entry took it.
    BOOL DispatchThreadMessageEx(MSG* pMsg);

    DECLARE_MESSAGE_MAP()
};

CWinThread* AfxGetThread();
// Makes pThread the calling thread's thread object (the program entry and thread start).
void AfxSetThread(CWinThread* pThread);
BOOL AfxPreTranslateMessage(MSG* pMsg);
BOOL AfxPumpMessage();

#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_APP_EXIT 0xE141

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo();
    ~CCommandLineInfo() override;

    // One argument: a flag (after / or -) or a parameter; bLast for the last one.
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(const char16_t* pszParam);
    void ParseParamNotFlag(const char16_t* pszParam);
    void ParseLast(BOOL bLast);
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)

public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName;   // from the constructor, else the executable's name without extension
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;     // the arguments after the program's name
    int m_nCmdShow;
    LPCTSTR m_pszExeName;

    BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

    // Called by AfxWinMain with what the platform hands the program.
    void SetStartup(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow);

protected:
    CString m_strAppName;
    CString m_strExeName;
    CString m_strCmdLine;
    BOOL m_bAppNameGiven;

    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------
// Module state, resources and extension libraries

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
    void* pFirstSharedFactory;
};

struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCTSTR m_lpszCurrentAppName;
    CDynLinkLibrary* m_pFirstLibrary;  // the chain of extension libraries, newest first
};

// Everything shares the one module state of the process, so switching it is a formality kept
// for code written with AFX_MANAGE_STATE.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    [[maybe_unused]] AFX_MODULE_STATE* m_pPrevState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

AFX_MODULE_STATE* AfxGetModuleState();
AFX_MODULE_STATE* AfxGetStaticModuleState();
AFX_MODULE_STATE* AfxGetAppModuleState();

class CDynLinkLibrary : public CCmdTarget {
    DECLARE_DYNAMIC(CDynLinkLibrary)

public:
    // Links the module into the chain that resource look-ups search.
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    CRuntimeClass* m_pFirstSharedClass;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
LPCTSTR AfxGetAppName();
// The module that holds a resource: the application's resources first, then every
// extension library of the chain; the application's handle when none has it.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// A message box with the application's name as its caption; returns the button chosen.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// The program's start: InitInstance, then Run when it succeeded, ExitInstance in every case;
// the result is the program's exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
void AfxWinTerm();

#define DYNAMIC_DOWNCAST(class_name, object) \
    (((object) != nullptr && (object)->IsKindOf(RUNTIME_CLASS(class_name))) ? static_cast<class_name*>(object) : nullptr)
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// ---------------------------------------------------------------------------------------
// Handler calls of the message-map entries. T is the class whose map holds the entry; the
// handler may be a member of T or of a base, and its signature is checked here.

namespace afx_detail {

template <class T>
T* Target(CCmdTarget* p) {
    return static_cast<T*>(p);
}

inline CPoint PointOf(LPARAM lParam) {
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

// LRESULT f(WPARAM, LPARAM): ON_MESSAGE, ON_REGISTERED_MESSAGE.
template <class T, auto pfn>
LRESULT CallMessage(CCmdTarget* p, const AFX_MSGCALL& c) {
    LRESULT (T::*f)(WPARAM, LPARAM) = pfn;
    return (Target<T>(p)->*f)(c.wParam, c.lParam);
}

// void f(WPARAM, LPARAM) (or LRESULT): thread messages.
template <class T, auto pfn>
LRESULT CallThreadMessage(CCmdTarget* p, const AFX_MSGCALL& c) {
    using R = decltype((std::declval<T*>()->*pfn)(WPARAM(), LPARAM()));
    static_assert(std::is_void_v<R> || std::is_same_v<R, LRESULT>,
                  "a thread-message handler is void f(WPARAM, LPARAM)");
    R (T::*f)(WPARAM, LPARAM) = pfn;
    if constexpr (std::is_void_v<R>) {
        (Target<T>(p)->*f)(c.wParam, c.lParam);
        return 0;
    } else {
        return (Target<T>(p)->*f)(c.wParam, c.lParam);
    }
}

// void f(): commands, control notifications, reflected notifications.
template <class T, auto pfn>
LRESULT CallCommand(CCmdTarget* p, const AFX_MSGCALL&) {
    void (T::*f)() = pfn;
    (Target<T>(p)->*f)();
    return TRUE;
}

// void f(UINT id): command ranges.
template <class T, auto pfn>
LRESULT CallCommandRange(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(UINT) = pfn;
    (Target<T>(p)->*f)(c.nExtra);
    return TRUE;
}

// BOOL f(UINT id): command handlers that may decline.
template <class T, auto pfn>
LRESULT CallCommandEx(CCmdTarget* p, const AFX_MSGCALL& c) {
    BOOL (T::*f)(UINT) = pfn;
    return (Target<T>(p)->*f)(c.nExtra);
}

// BOOL f(): reflected notifications that may pass the notification on to the parent.
template <class T, auto pfn>
LRESULT CallReflectEx(CCmdTarget* p, const AFX_MSGCALL&) {
    BOOL (T::*f)() = pfn;
    return (Target<T>(p)->*f)();
}

// void f(): messages without arguments (WM_DESTROY, WM_PAINT, WM_CLOSE ...).
template <class T, auto pfn>
LRESULT CallVoid(CCmdTarget* p, const AFX_MSGCALL&) {
    void (T::*f)() = pfn;
    (Target<T>(p)->*f)();
    return 0;
}

template <class T, auto pfn>
LRESULT CallCreate(CCmdTarget* p, const AFX_MSGCALL& c) {
    int (T::*f)(LPCREATESTRUCT) = pfn;
    return (Target<T>(p)->*f)(reinterpret_cast<LPCREATESTRUCT>(c.lParam));
}

template <class T, auto pfn>
LRESULT CallEraseBkgnd(CCmdTarget* p, const AFX_MSGCALL& c) {
    BOOL (T::*f)(CDC*) = pfn;
    return (Target<T>(p)->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)));
}

// The timer handler takes the id as UINT_PTR, or as UINT in older code.
template <class T, auto pfn>
LRESULT CallTimer(CCmdTarget* p, const AFX_MSGCALL& c) {
    if constexpr (std::is_convertible_v<decltype(pfn), void (T::*)(UINT_PTR)>) {
        void (T::*f)(UINT_PTR) = pfn;
        (Target<T>(p)->*f)(c.wParam);
    } else {
        void (T::*f)(UINT) = pfn;
        (Target<T>(p)->*f)(static_cast<UINT>(c.wParam));
    }
    return 0;
}

template <class T, auto pfn>
LRESULT CallSize(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(UINT, int, int) = pfn;
    (Target<T>(p)->*f)(static_cast<UINT>(c.wParam), static_cast<short>(LOWORD(c.lParam)),
                       static_cast<short>(HIWORD(c.lParam)));
    return 0;
}

template <class T, auto pfn>
LRESULT CallMove(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(int, int) = pfn;
    (Target<T>(p)->*f)(static_cast<short>(LOWORD(c.lParam)), static_cast<short>(HIWORD(c.lParam)));
    return 0;
}

// void f(UINT nFlags, CPoint point): mouse messages.
template <class T, auto pfn>
LRESULT CallMouse(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(UINT, CPoint) = pfn;
    (Target<T>(p)->*f)(static_cast<UINT>(c.wParam), PointOf(c.lParam));
    return 0;
}

// void f(UINT nChar, UINT nRepCnt, UINT nFlags): key messages.
template <class T, auto pfn>
LRESULT CallKey(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(UINT, UINT, UINT) = pfn;
    (Target<T>(p)->*f)(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
    return 0;
}

// void f(CWnd*): focus messages.
template <class T, auto pfn>
LRESULT CallFocus(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(CWnd*) = pfn;
    (Target<T>(p)->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)));
    return 0;
}

template <class T, auto pfn>
LRESULT CallCtlColor(CCmdTarget* p, const AFX_MSGCALL& c) {
    HBRUSH (T::*f)(CDC*, CWnd*, UINT) = pfn;
    return reinterpret_cast<LRESULT>((Target<T>(p)->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)),
                                                        CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)),
                                                        c.nExtra));
}

template <class T, auto pfn>
LRESULT CallCtlColorReflect(CCmdTarget* p, const AFX_MSGCALL& c) {
    HBRUSH (T::*f)(CDC*, UINT) = pfn;
    return reinterpret_cast<LRESULT>(
        (Target<T>(p)->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)), c.nExtra));
}

template <class T, auto pfn>
LRESULT CallDrawItem(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(int, LPDRAWITEMSTRUCT) = pfn;
    (Target<T>(p)->*f)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
    return TRUE;
}

template <class T, auto pfn>
LRESULT CallDrawItemReflect(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(LPDRAWITEMSTRUCT) = pfn;
    (Target<T>(p)->*f)(reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
    return TRUE;
}

template <class T, auto pfn>
LRESULT CallShowWindow(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(BOOL, UINT) = pfn;
    (Target<T>(p)->*f)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
    return 0;
}

template <class T, auto pfn>
LRESULT CallEnable(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(BOOL) = pfn;
    (Target<T>(p)->*f)(static_cast<BOOL>(c.wParam));
    return 0;
}

template <class T, auto pfn>
LRESULT CallDeviceChange(CCmdTarget* p, const AFX_MSGCALL& c) {
    BOOL (T::*f)(UINT, DWORD_PTR) = pfn;
    return (Target<T>(p)->*f)(static_cast<UINT>(c.wParam), static_cast<DWORD_PTR>(c.lParam));
}

template <class T, auto pfn>
LRESULT CallActivate(CCmdTarget* p, const AFX_MSGCALL& c) {
    void (T::*f)(UINT, CWnd*, BOOL) = pfn;
    (Target<T>(p)->*f)(LOWORD(c.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)), HIWORD(c.wParam));
    return 0;
}

template <class T, auto pfn>
LRESULT CallGetDlgCode(CCmdTarget* p, const AFX_MSGCALL&) {
    UINT (T::*f)() = pfn;
    return (Target<T>(p)->*f)();
}

}  // namespace afx_detail

#define AFX_MSG_ENTRY(msg, caller, memberFxn) \
    {msg, 0, 0, 0, AfxSig_msg, &afx_detail::caller<ThisClass, &ThisClass::memberFxn>, nullptr},

#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, CallCreate, OnCreate)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, CallVoid, OnDestroy)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, CallVoid, OnPaint)
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, CallEraseBkgnd, OnEraseBkgnd)
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, CallTimer, OnTimer)
#define ON_WM_SIZE() AFX_MSG_ENTRY(WM_SIZE, CallSize, OnSize)
#define ON_WM_MOVE() AFX_MSG_ENTRY(WM_MOVE, CallMove, OnMove)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, CallVoid, OnClose)
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, CallMouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, CallMouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_ENTRY(WM_LBUTTONDBLCLK, CallMouse, OnLButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, CallMouse, OnMouseMove)
#define ON_WM_KEYDOWN() AFX_MSG_ENTRY(WM_KEYDOWN, CallKey, OnKeyDown)
#define ON_WM_KEYUP() AFX_MSG_ENTRY(WM_KEYUP, CallKey, OnKeyUp)
#define ON_WM_CHAR() AFX_MSG_ENTRY(WM_CHAR, CallKey, OnChar)
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, CallFocus, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, CallFocus, OnKillFocus)
#define ON_WM_CTLCOLOR() AFX_MSG_ENTRY(WM_CTLCOLOR, CallCtlColor, OnCtlColor)
#define ON_WM_CTLCOLOR_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, CallCtlColorReflect, CtlColor)
#define ON_WM_DRAWITEM() AFX_MSG_ENTRY(WM_DRAWITEM, CallDrawItem, OnDrawItem)
#define ON_WM_DRAWITEM_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, CallDrawItemReflect, DrawItem)
#define ON_WM_SHOWWINDOW() AFX_MSG_ENTRY(WM_SHOWWINDOW, CallShowWindow, OnShowWindow)
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, CallEnable, OnEnable)
#define ON_WM_DEVICECHANGE() AFX_MSG_ENTRY(WM_DEVICECHANGE, CallDeviceChange, OnDeviceChange)
#define ON_WM_ACTIVATE() AFX_MSG_ENTRY(WM_ACTIVATE, CallActivate, OnActivate)
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, CallGetDlgCode, OnGetDlgCode)

#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, 0, AfxSig_msg, &afx_detail::CallMessage<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                            \
    {0xC000, 0, 0, 0, AfxSig_msg, &afx_detail::CallMessage<ThisClass, &ThisClass::memberFxn>, \
     &nMessageVariable},
#define ON_THREAD_MESSAGE(message, memberFxn) \
    {message, 0, 0, 0, AfxSig_msg, &afx_detail::CallThreadMessage<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                          \
    {0xC000, 0, 0, 0, AfxSig_msg, &afx_detail::CallThreadMessage<ThisClass, &ThisClass::memberFxn>, \
     &nMessageVariable},

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (id), (id), AfxSig_cmd, &afx_detail::CallCommand<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, 0, (id), (id), AfxSig_cmdEx, &afx_detail::CallCommandEx<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                        \
    {WM_COMMAND, 0, (id), (idLast), AfxSig_cmd, &afx_detail::CallCommandRange<ThisClass, &ThisClass::memberFxn>, \
     nullptr},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                          \
    {WM_COMMAND, static_cast<UINT>(wNotifyCode), (id), (id), AfxSig_cmd,                                \
     &afx_detail::CallCommand<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                            \
    {WM_COMMAND, static_cast<UINT>(wNotifyCode), (id), (idLast), AfxSig_cmd,                            \
     &afx_detail::CallCommandRange<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                      \
    {WM_COMMAND + WM_REFLECT_BASE, static_cast<UINT>(wNotifyCode), 0, 0, AfxSig_cmd,                    \
     &afx_detail::CallCommand<ThisClass, &ThisClass::memberFxn>, nullptr},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                   \
    {WM_COMMAND + WM_REFLECT_BASE, static_cast<UINT>(wNotifyCode), 0, 0, AfxSig_cmdEx,                  \
     &afx_detail::CallReflectEx<ThisClass, &ThisClass::memberFxn>, nullptr},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)

#include "afxdialog.h"
