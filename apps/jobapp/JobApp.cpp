#include "JobApp.h"

#include "ResourceText.h"
#include "SwitchArguments.h"
#include "resource.h"

namespace {

constexpr int kHighestExitCode = 255;  // what a process can hand back on this platform
constexpr int kExitBadOption = 2;

}  // namespace

CString CJobApp::ReadOptions() {
    CSwitchArguments args;
    ParseCommandLine(args);
    for (const CSwitchArguments::Switch& entry : args.Switches()) {
        const CString given = entry.AsGiven();
        if (!entry.bHasValue || entry.value.IsEmpty()) return given;
        if (entry.name == u"JOB") {
            m_strJobName = entry.value;
        } else if (entry.name == u"LOG") {
            m_strLogFile = entry.value;
        } else if (entry.name == u"EXIT") {
            int code = 0;
            if (!ParseWholeNumber(entry.value, code) || code < 0 || code > kHighestExitCode) return given;
            m_nRequestedExit = code;
        } else {
            return given;
        }
    }
    return args.Others().empty() ? CString() : args.Others().front();
}

BOOL CJobApp::InitInstance() {
    const CString wrong = ReadOptions();
    SetLogFileName(m_strLogFile.GetBuffer());
    SetJobName(m_strJobName.GetBuffer());
    // The Start record comes first, so even a refused command line leaves its End record.
    if (!CVLFWApp::InitInstance()) return FALSE;
    if (!wrong.IsEmpty()) {
        CString message;
        message.Format(ResourceText(IDS_BAD_OPTION), static_cast<LPCWSTR>(wrong));
        SetExitCode(kExitBadOption, message);
        return FALSE;
    }
    CString done;
    done.Format(ResourceText(IDS_JOB_DONE), static_cast<LPCWSTR>(m_strJobName));
    m_log.MessageLog(done, VLSYS_LOGLEVEL_NORMAL);
    if (m_nRequestedExit != 0) {
        CString message;
        message.Format(ResourceText(IDS_EXIT_CODE), m_nRequestedExit);
        SetExitCode(m_nRequestedExit, message);
    }
    return FALSE;  // no window: ExitInstance writes the End or Abort record and ends the run
}

CJobApp theApp;
