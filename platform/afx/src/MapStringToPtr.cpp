// CMapStringToPtr: string keys to untyped pointers, over the shared string hash table.
#include <afxcoll.h>

#include "StringHashTable.h"

struct CMapStringToPtr::Table : vela::afx::StringHashTable<void*> {
    using StringHashTable::StringHashTable;
};

namespace {
using Node = vela::afx::StringHashTable<void*>::Node;
}

CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize) : m_pTable(std::make_unique<Table>(nBlockSize)) {}
CMapStringToPtr::~CMapStringToPtr() = default;

INT_PTR CMapStringToPtr::GetCount() const { return static_cast<INT_PTR>(m_pTable->Count()); }
INT_PTR CMapStringToPtr::GetSize() const { return GetCount(); }
BOOL CMapStringToPtr::IsEmpty() const { return m_pTable->Count() == 0 ? TRUE : FALSE; }

BOOL CMapStringToPtr::Lookup(LPCWSTR key, void*& rValue) const {
    const Node* node = m_pTable->Find(key);
    if (!node) return FALSE;
    rValue = node->value;
    return TRUE;
}

BOOL CMapStringToPtr::LookupKey(LPCWSTR key, LPCWSTR& rKey) const {
    const Node* node = m_pTable->Find(key);
    if (!node) return FALSE;
    rKey = node->key;
    return TRUE;
}

void*& CMapStringToPtr::operator[](LPCWSTR key) { return m_pTable->FindOrAdd(key).value; }
void CMapStringToPtr::SetAt(LPCWSTR key, void* newValue) { m_pTable->FindOrAdd(key).value = newValue; }
BOOL CMapStringToPtr::RemoveKey(LPCWSTR key) { return m_pTable->Remove(key) ? TRUE : FALSE; }
void CMapStringToPtr::RemoveAll() { m_pTable->Clear(); }

POSITION CMapStringToPtr::GetStartPosition() const {
    return m_pTable->Count() == 0 ? nullptr : BEFORE_START_POSITION;
}

void CMapStringToPtr::GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const {
    if (!rNextPosition) return;
    const Node* node = rNextPosition == BEFORE_START_POSITION ? m_pTable->First()
                                                               : reinterpret_cast<const Node*>(rNextPosition);
    if (!node) {
        rNextPosition = nullptr;
        return;
    }
    rKey = node->key;
    rValue = node->value;
    rNextPosition = reinterpret_cast<POSITION>(const_cast<Node*>(m_pTable->Next(node)));
}

UINT CMapStringToPtr::GetHashTableSize() const { return m_pTable->BucketCount(); }
void CMapStringToPtr::InitHashTable(UINT hashSize, BOOL bAllocNow) { m_pTable->SetStartSize(hashSize, bAllocNow != FALSE); }
UINT CMapStringToPtr::HashKey(LPCWSTR key) const { return vela::afx::HashStringKey(key); }
