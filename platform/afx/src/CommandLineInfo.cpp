// CCommandLineInfo: what the program's arguments ask for, one argument at a time.
#include <afxwin.h>

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew) {}

CCommandLineInfo::~CCommandLineInfo() = default;

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag) {
        ParseParamFlag(pszParam);
    } else {
        ParseParamNotFlag(pszParam);
    }
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(const char16_t* pszParam) {
    CString flag(pszParam);
    if (flag.CompareNoCase(u"pt") == 0) {
        m_nShellCommand = FilePrintTo;
    } else if (flag.CompareNoCase(u"p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (flag.CompareNoCase(u"Unregister") == 0 || flag.CompareNoCase(u"Unregserver") == 0) {
        m_nShellCommand = AppUnregister;
    } else if (flag.CompareNoCase(u"dde") == 0) {
        m_nShellCommand = FileDDE;
    } else if (flag.CompareNoCase(u"Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (flag.CompareNoCase(u"Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(const char16_t* pszParam) {
    // The first plain argument is the file; print-to takes printer, driver and port after it.
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
    } else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty()) {
        m_strPrinterName = pszParam;
    } else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty()) {
        m_strDriverName = pszParam;
    } else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty()) {
        m_strPortName = pszParam;
    }
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) {
        m_nShellCommand = FileOpen;
    }
}
