#include "VLSysLogFile.h"

#include <TarnClog.h>

#include "VLSysNetwork.h"

CVLSysLogFile::CVLSysLogFile() : m_nLogLevel(VLSYS_LOGLEVEL_NORMAL) {}

CVLSysLogFile::CVLSysLogFile(const CVLSysLogFile& other) = default;

CVLSysLogFile& CVLSysLogFile::operator=(const CVLSysLogFile& other) = default;

CVLSysLogFile::~CVLSysLogFile() = default;

void CVLSysLogFile::SetLogLevel(VelaSysLogLevel level) { m_nLogLevel = level; }

void CVLSysLogFile::InitLog(LPCWSTR pLogFile, LPCWSTR pUser, LPCWSTR pDevice, DWORD dwLogID) {
    LPCWSTR logFile = pLogFile != nullptr ? pLogFile : u"\\Temp\\TarnLog.log";
    const CString address = CVLSysNetwork().GetIPAddress();
    // TarnClog takes the device before the user.
    TarnClog_SetBaseInfo(logFile, address.IsEmpty() ? nullptr : static_cast<LPCWSTR>(address), pDevice,
                         pUser, dwLogID);
}

void CVLSysLogFile::StartLog(LPCWSTR pCmd, LPCWSTR pInfo) {
    m_strCmd = pCmd;
    m_strInfo = pInfo;
    TarnClog_Start(m_strCmd, m_strInfo);
}

void CVLSysLogFile::EndLog(DWORD dwCode, LPCWSTR pMsg) {
    if (m_strCmd.IsEmpty()) return;
    if (dwCode == 0) {
        TarnClog_End(m_strCmd, m_strInfo, pMsg);
    } else {
        TarnClog_Abort(m_strCmd, m_strInfo, pMsg);
    }
}

void CVLSysLogFile::MessageLog(LPCWSTR pMsg, VelaSysLogLevel level) {
    if (m_strCmd.IsEmpty()) return;
    if (level > m_nLogLevel) return;
    TarnClog_Message(m_strCmd, m_strInfo, pMsg);
}
