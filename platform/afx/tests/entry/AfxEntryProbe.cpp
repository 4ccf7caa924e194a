// A program on the class library's entry: it checks what reached its application object and
// answers through its exit code (0 when all is as the test's command line says).
#include <afxwin.h>

namespace {

class CEntryProbeApp : public CWinApp {
public:
    int m_nResult = 100;  // InitInstance never ran

    BOOL InitInstance() override {
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (CString(m_pszAppName).Compare(u"AfxEntryProbe") != 0) {
            m_nResult = 1;
        } else if (m_hInstance != ::GetModuleHandleW(nullptr) || AfxGetInstanceHandle() != m_hInstance) {
            m_nResult = 2;
        } else if (info.m_nShellCommand != CCommandLineInfo::FilePrint) {
            m_nResult = 3;
        } else if (info.m_strFileName.Compare(u"two words.txt") != 0) {
            m_nResult = 4;
        } else {
            m_nResult = 0;
        }
        return FALSE;  // nothing to run: ExitInstance gives the exit code
    }
    int ExitInstance() override { return m_nResult; }
};

CEntryProbeApp theApp;

}  // namespace
