// The sample job program: started from the menu with "/job:NAME /exit:N", it logs its run
// (Start, a message, then End or Abort) and ends by itself with exit code N, no window shown.
//   /job:NAME    the job's name in the log (default "job")
//   /exit:N      the exit code, 0 to 255 (default 0)
//   /log:PATH    the operation log (default \Temp\JobApp.log)
#pragma once

#include <VelaFW.h>

class CJobApp : public CVLFWApp {
public:
    CJobApp() = default;

    BOOL InitInstance() override;

private:
    // Reads the switches; empty when they are all understood, else the first wrong one.
    CString ReadOptions();

    // The log keeps pointers to these until InitInstance has run: they live with the object.
    CString m_strJobName{u"job"};
    CString m_strLogFile{u"\\Temp\\JobApp.log"};
    int m_nRequestedExit = 0;
};
