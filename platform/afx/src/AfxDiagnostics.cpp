// Diagnostics of the class library: traces and failed assertions go to the debugger output.
#include <afx.h>

#include <string>

void AfxTrace(LPCWSTR pszFormatted) { OutputDebugStringW(pszFormatted); }

void AfxAssertFailedLine(const char* file, int line, const char* expression) {
    std::u16string text = vela::FormatWideArgs(u"Assertion failed: %hs, %hs(%d)\n", expression, file, line);
    OutputDebugStringW(text.c_str());
}
