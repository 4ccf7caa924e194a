// CVLFWApp: the application class of a job program. It writes the operation log of the whole
// run: a Start record at start-up, and at the end an End record (exit code 0) or an Abort
// record (any other code); the exit code becomes the process's.
// CVLFWMenuApp: the application class of a menu launcher; its menu dialog writes the records.
#pragma once

#include <VLSysLogFile.h>

#include "VLFWAppBase.h"

class AFX_EXT_CLASS CVLFWApp : public CVLFWAppBase {
    DECLARE_DYNCREATE(CVLFWApp)

public:
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    CVLFWApp();
    ~CVLFWApp() override;

    // The log's identity. The texts are kept by pointer and must stay valid until InitInstance
    // has run; call these before CVLFWApp::InitInstance.
    void SetLogFileName(WCHAR* name);
    void SetUsrName(WCHAR* name);
    void SetJobName(WCHAR* name);
    void SetDeviceName(WCHAR* name);
    void SetLogID(DWORD id);
    // The run's outcome: 0 gives an End record, anything else an Abort record. A null message
    // keeps the one set before; with code 0 and no message the record says "finished normally".
    void SetExitCode(int code, LPCWSTR message);

    CVLSysLogFile m_log;
    WCHAR* m_pszLogFileName;
    WCHAR* m_pszUsrName;
    WCHAR* m_pszJobName;
    WCHAR* m_pszDeviceName;
    DWORD m_dwLogID;
    int m_nExitCode;
    CString m_strExitMessage;

    DECLARE_MESSAGE_MAP()
};

class AFX_EXT_CLASS CVLFWMenuApp : public CVLFWAppBase {
    DECLARE_DYNCREATE(CVLFWMenuApp)

public:
    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    CVLFWMenuApp();
    ~CVLFWMenuApp() override;

    DECLARE_MESSAGE_MAP()
};
