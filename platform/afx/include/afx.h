// The class library's core: CObject, CString, diagnostics.
#pragma once

#include <windows.h>

#include "afxstr.h"

#define AFX_EXT_CLASS __attribute__((visibility("default")))
#define AFX_EXT_API __attribute__((visibility("default")))
#define AFX_EXT_DATA
#define AFXAPI

// A position in a collection, as handed out by GetStartPosition/GetHeadPosition.
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<intptr_t>(-1)))

class CObject {
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// Debug trace to the debugger output (OutputDebugString). Compiled in debug builds only.
void AfxTrace(LPCWSTR pszFormatted);
#ifdef _DEBUG
#define TRACE(...) AfxTrace(vela::FormatWideArgs(__VA_ARGS__).c_str())
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#else
#define TRACE(...) ((void)0)
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#endif
#define TRACE0(sz) TRACE(sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)

// Reports a failed assertion through the debug channel; the program goes on, as in a
// release build of the terminal's runtime.
void AfxAssertFailedLine(const char* file, int line, const char* expression);
