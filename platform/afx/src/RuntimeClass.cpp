// Run-time classes: the process-wide list that FromName searches, and CObject's own entry.
#include <afx.h>

#include <cstring>
#include <mutex>
#include <string>

#include <vela/Utf.h>

namespace {

std::mutex& ClassListLock() {
    static std::mutex lock;
    return lock;
}

CRuntimeClass*& FirstClass() {
    static CRuntimeClass* first = nullptr;
    return first;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};
static AFX_CLASSINIT _afx_init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetThisClass() { return &CObject::classCObject; }

CRuntimeClass* CObject::GetRuntimeClass() const { return &CObject::classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass) {
    std::lock_guard<std::mutex> guard(ClassListLock());
    pNewClass->m_pNextClass = FirstClass();
    FirstClass() = pNewClass;
}

AFX_CLASSINIT::~AFX_CLASSINIT() {
    // A library going away takes its classes with it; FromName must not find them afterwards.
    std::lock_guard<std::mutex> guard(ClassListLock());
    for (CRuntimeClass** link = &FirstClass(); *link != nullptr; link = &(*link)->m_pNextClass) {
        if (*link == m_pClass) {
            *link = m_pClass->m_pNextClass;
            break;
        }
    }
}

CObject* CRuntimeClass::CreateObject() {
    if (m_pfnCreateObject == nullptr) {
        return nullptr;
    }
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* pClass = this; pClass != nullptr; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass) {
            return TRUE;
        }
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (lpszClassName == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(ClassListLock());
    for (CRuntimeClass* pClass = FirstClass(); pClass != nullptr; pClass = pClass->m_pNextClass) {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0) {
            return pClass;
        }
    }
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName) {
    if (lpszClassName == nullptr) {
        return nullptr;
    }
    // Class names are C++ identifiers, so UTF-8 is the name as written.
    return FromName(vela::Utf16ToUtf8(lpszClassName).c_str());
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != nullptr ? pClass->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR lpszClassName) {
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != nullptr ? pClass->CreateObject() : nullptr;
}
