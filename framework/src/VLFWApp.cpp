// CVLFWApp (the job application with its run's operation log) and CVLFWMenuApp.
#include "VLFWApp.h"

#include "VLFWShared.h"

namespace {

// String-table entry of VelaFW: "finished normally".
constexpr UINT kIdsFinishedNormally = 1;
constexpr int kMessageLength = 1024;

}  // namespace

IMPLEMENT_DYNCREATE(CVLFWApp, CVLFWAppBase)

BEGIN_MESSAGE_MAP(CVLFWApp, CVLFWAppBase)
END_MESSAGE_MAP()

CVLFWApp::CVLFWApp()
    : m_pszLogFileName(nullptr),
      m_pszUsrName(nullptr),
      m_pszJobName(nullptr),
      m_pszDeviceName(nullptr),
      m_dwLogID(1),
      m_nExitCode(0) {}

CVLFWApp::~CVLFWApp() = default;

void CVLFWApp::SetLogFileName(WCHAR* name) { m_pszLogFileName = name; }
void CVLFWApp::SetUsrName(WCHAR* name) { m_pszUsrName = name; }
void CVLFWApp::SetJobName(WCHAR* name) { m_pszJobName = name; }
void CVLFWApp::SetDeviceName(WCHAR* name) { m_pszDeviceName = name; }
void CVLFWApp::SetLogID(DWORD id) { m_dwLogID = id; }

void CVLFWApp::SetExitCode(int code, LPCWSTR message) {
    m_nExitCode = code;
    if (message != nullptr) m_strExitMessage = message;
}

BOOL CVLFWApp::InitInstance() {
    // The Start record comes first, so a failed start-up still has one (ExitInstance writes
    // the matching End record).
    m_log.InitLog(m_pszLogFileName, m_pszUsrName, m_pszDeviceName, m_dwLogID);
    m_log.StartLog(m_pszAppName, m_pszJobName);
    return CVLFWAppBase::InitInstance();
}

int CVLFWApp::ExitInstance() {
    if (m_strExitMessage.IsEmpty() && m_nExitCode == 0) {
        WCHAR szMessage[kMessageLength] = {};
        ::LoadStringW(VLFWResourceHandle(), kIdsFinishedNormally, szMessage, kMessageLength);
        m_strExitMessage = szMessage;
    }
    m_log.EndLog(static_cast<DWORD>(m_nExitCode), m_strExitMessage);
    CVLFWAppBase::ExitInstance();
    return m_nExitCode;
}

IMPLEMENT_DYNCREATE(CVLFWMenuApp, CVLFWAppBase)

BEGIN_MESSAGE_MAP(CVLFWMenuApp, CVLFWAppBase)
END_MESSAGE_MAP()

CVLFWMenuApp::CVLFWMenuApp() = default;

CVLFWMenuApp::~CVLFWMenuApp() = default;

BOOL CVLFWMenuApp::InitInstance() { return CVLFWAppBase::InitInstance(); }

int CVLFWMenuApp::ExitInstance() { return CVLFWAppBase::ExitInstance(); }
