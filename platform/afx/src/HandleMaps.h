// Which C++ object stands for a drawing handle or a DC: the permanent objects (Attach) of the
// whole process, and the temporary wrappers FromHandle makes for the calling thread.
#pragma once

#include <afxwin.h>

namespace vela::afx {

// The object attached to a handle, if it is of class wanted (or derived from it).
CObject* FindPermanent(const void* handle, const CRuntimeClass* wanted);
void AddPermanent(const void* handle, CObject* object);
// Removes the entry only if it still names this object.
void RemovePermanent(const void* handle, const CObject* object);

// The calling thread's temporary CGdiObject-derived wrapper of class cls for a handle, made on
// first use. cls must be dynamically creatable through make.
CGdiObject* TemporaryGdiObject(HGDIOBJ handle, const CRuntimeClass* cls, CGdiObject* (*make)());
CDC* TemporaryDc(HDC handle);
void DeleteTemporaryGdiObjects();
void DeleteTemporaryDcs();

// FromHandle of the drawing object classes: the attached object, else a temporary one.
template <class T>
T* GdiObjectFromHandle(HGDIOBJ handle) {
    if (handle == nullptr) return nullptr;
    if (CObject* found = FindPermanent(handle, T::GetThisClass())) return static_cast<T*>(found);
    return static_cast<T*>(TemporaryGdiObject(handle, T::GetThisClass(), [] () -> CGdiObject* { return new T; }));
}

}  // namespace vela::afx
