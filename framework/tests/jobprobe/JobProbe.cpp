// A job program on CVLFWApp for the tests. Command line: <log file> <exit code> [message].
// It does its "job" inside InitInstance and returns FALSE, as a program without a window does;
// the framework then ends it through ExitInstance, whose result is the process's exit code.
#include <VelaFW.h>

#include <vector>

namespace {

class ArgumentList : public CCommandLineInfo {
public:
    void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) override {
        if (!bFlag) m_args.push_back(CString(pszParam));
    }
    std::vector<CString> m_args;
};

class CJobProbeApp : public CVLFWApp {
public:
    BOOL InitInstance() override {
        ArgumentList args;
        ParseCommandLine(args);
        if (args.m_args.size() >= 1) m_strLogFile = args.m_args[0];
        SetLogFileName(m_strLogFile.GetBuffer());
        SetUsrName(m_szUser);
        SetJobName(m_szJob);
        SetDeviceName(m_szDevice);
        SetLogID(42);
        CVLFWApp::InitInstance();
        if (args.m_args.size() >= 2) {
            int code = 0;
            for (WCHAR c : args.m_args[1].str()) code = code * 10 + (c - u'0');
            SetExitCode(code, args.m_args.size() >= 3 ? static_cast<LPCWSTR>(args.m_args[2]) : nullptr);
        }
        return FALSE;
    }

private:
    CString m_strLogFile;
    WCHAR m_szUser[8] = u"tester";
    WCHAR m_szJob[8] = u"count";
    WCHAR m_szDevice[8] = u"HT-01";
};

CJobProbeApp theApp;

}  // namespace
