// CVLSysLogFile: an application's operation log. The object remembers the names of the running
// operation and turns start, end, abort and message calls into TarnClog records; the log file,
// address, device, user and log ID live in TarnClog once per process, so InitLog on any object
// sets them for all.
#pragma once

#include <windows.h>
#include <afx.h>

#include <cstdint>

// Importance of a message, and the threshold of a log object: smaller is more important.
enum VelaSysLogLevel : int32_t {
    VLSYS_LOGLEVEL_ERROR = 0,
    VLSYS_LOGLEVEL_WARNING = 5,
    VLSYS_LOGLEVEL_NORMAL = 10,  // the threshold of a new object
    VLSYS_LOGLEVEL_DETAIL = 20,
};

class AFX_EXT_CLASS CVLSysLogFile {
public:
    CVLSysLogFile();
    CVLSysLogFile(const CVLSysLogFile& other);
    CVLSysLogFile& operator=(const CVLSysLogFile& other);
    ~CVLSysLogFile();

    // Any value is accepted; messages with a greater level are dropped.
    void SetLogLevel(VelaSysLogLevel level);

    // pLogFile NULL means "\Temp\TarnLog.log". The terminal's current IP address becomes the
    // records' address (the host name when it has none).
    void InitLog(LPCWSTR pLogFile, LPCWSTR pUser, LPCWSTR pDevice, DWORD dwLogID);

    // Remembers both names (NULL as empty) and writes a Start record.
    void StartLog(LPCWSTR pCmd, LPCWSTR pInfo);
    // An End record for code 0, an Abort record for any other; nothing before a StartLog.
    // The names stay, so later messages still carry them.
    void EndLog(DWORD dwCode, LPCWSTR pMsg);
    void MessageLog(LPCWSTR pMsg, VelaSysLogLevel level);

private:
    VelaSysLogLevel m_nLogLevel;
    CString m_strCmd;   // empty: no operation started yet
    CString m_strInfo;
};
