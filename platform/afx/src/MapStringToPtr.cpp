// CMapStringToPtr: string keys to untyped pointers, over the shared string hash table.
#include <afxcoll.h>

#include "StringHashTable.h"

#include <new>

struct CMapStringToPtr::Table : vela::afx::StringHashTable<void*> {
    using StringHashTable::StringHashTable;
};

namespace {
using Node = vela::afx::StringHashTable<void*>::Node;
}

CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize) {
    static_assert(sizeof(Table) <= sizeof(m_table) && alignof(Table) <= 8);
    new (m_table) Table(nBlockSize);
}
CMapStringToPtr::~CMapStringToPtr() { GetTable().~Table(); }

CMapStringToPtr::Table& CMapStringToPtr::GetTable() { return *std::launder(reinterpret_cast<Table*>(m_table)); }
const CMapStringToPtr::Table& CMapStringToPtr::GetTable() const {
    return *std::launder(reinterpret_cast<const Table*>(m_table));
}

INT_PTR CMapStringToPtr::GetCount() const { return static_cast<INT_PTR>(GetTable().Count()); }
INT_PTR CMapStringToPtr::GetSize() const { return GetCount(); }
BOOL CMapStringToPtr::IsEmpty() const { return GetTable().Count() == 0 ? TRUE : FALSE; }

BOOL CMapStringToPtr::Lookup(LPCWSTR key, void*& rValue) const {
    const Node* node = GetTable().Find(key);
    if (!node) return FALSE;
    rValue = node->value;
    return TRUE;
}

BOOL CMapStringToPtr::LookupKey(LPCWSTR key, LPCWSTR& rKey) const {
    const Node* node = GetTable().Find(key);
    if (!node) return FALSE;
    rKey = node->key;
    return TRUE;
}

void*& CMapStringToPtr::operator[](LPCWSTR key) { return GetTable().FindOrAdd(key).value; }
void CMapStringToPtr::SetAt(LPCWSTR key, void* newValue) { GetTable().FindOrAdd(key).value = newValue; }
BOOL CMapStringToPtr::RemoveKey(LPCWSTR key) { return GetTable().Remove(key) ? TRUE : FALSE; }
void CMapStringToPtr::RemoveAll() { GetTable().Clear(); }

POSITION CMapStringToPtr::GetStartPosition() const {
    return GetTable().Count() == 0 ? nullptr : BEFORE_START_POSITION;
}

void CMapStringToPtr::GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const {
    if (const Node* node = GetTable().Step(rNextPosition)) {
        rKey = node->key;
        rValue = node->value;
    }
}

UINT CMapStringToPtr::GetHashTableSize() const { return GetTable().BucketCount(); }
void CMapStringToPtr::InitHashTable(UINT hashSize, BOOL bAllocNow) { GetTable().SetStartSize(hashSize, bAllocNow != FALSE); }
UINT CMapStringToPtr::HashKey(LPCWSTR key) const { return vela::afx::HashStringKey(key); }
