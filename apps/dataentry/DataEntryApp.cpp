// The sample data-entry program: its run is logged like a job's, with what was entered.
//   /log:PATH    the operation log (default \Temp\DataEntry.log)
#include <VelaFW.h>

#include "DataEntryDialog.h"
#include "ResourceText.h"
#include "SwitchArguments.h"
#include "resource.h"

namespace {

constexpr int kExitCancelled = 1;

class CDataEntryApp : public CVLFWApp {
public:
    BOOL InitInstance() override {
        CSwitchArguments args;
        ParseCommandLine(args);
        args.Lookup(u"log", m_strLogFile);
        m_strJobName = ResourceText(IDS_JOB_NAME);
        SetLogFileName(m_strLogFile.GetBuffer());
        SetJobName(m_strJobName.GetBuffer());
        if (!CVLFWApp::InitInstance()) return FALSE;

        CDataEntryDialog dialog;
        m_pMainWnd = &dialog;
        if (dialog.DoModal() == IDOK) {
            CString message;
            message.Format(ResourceText(IDS_ENTERED), static_cast<LPCWSTR>(dialog.GetEntered()));
            SetExitCode(0, message);
        } else {
            SetExitCode(kExitCancelled, ResourceText(IDS_CANCELLED));
        }
        m_pMainWnd = nullptr;
        return FALSE;
    }

private:
    // The log keeps pointers to these until InitInstance has run.
    CString m_strLogFile{u"\\Temp\\DataEntry.log"};
    CString m_strJobName;
};

CDataEntryApp theApp;

}  // namespace
