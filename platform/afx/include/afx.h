// The class library's core: CObject and its run-time classes, CString, diagnostics.
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

class CObject;

// What the class library knows of a class at run time: its name, size, base and, for a
// dynamically creatable class, how to make one. Every IMPLEMENT_DYNAMIC class is listed
// process-wide, so FromName finds classes of every loaded library.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                       // 0xFFFF for classes that are not serializable
    CObject* (*m_pfnCreateObject)();      // null unless DYNCREATE
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;          // the process-wide list, linked at start-up

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CRuntimeClass* FromName(LPCWSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCWSTR lpszClassName);
};

// Links a class into the process-wide list (one static object per IMPLEMENT_DYNAMIC) and
// unlinks it when its library is unloaded.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;

private:
    CRuntimeClass* m_pClass;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                       \
public:                                                   \
    static CRuntimeClass class##class_name;               \
    static CRuntimeClass* GetThisClass() { return &class##class_name; } \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                        \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class class_name)), \
                                                   wSchema, pfnNew, RUNTIME_CLASS(base_class_name),      \
                                                   nullptr};                                             \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }        \
    static AFX_CLASSINIT _afx_init_##class_name(&class_name::class##class_name);

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                 \
    CObject* class_name::CreateObject() { return new class_name; }       \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)           \
    CObject* class_name::CreateObject() { return new class_name; }       \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

class CObject {
public:
    virtual ~CObject() = default;

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

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
