// CMapStringToString: string keys to string values, over the shared string hash table.
#include <afxcoll.h>

#include "StringHashTable.h"

struct CMapStringToString::Table : vela::afx::StringHashTable<CString> {
    using StringHashTable::StringHashTable;
};

namespace {
using Node = vela::afx::StringHashTable<CString>::Node;
}

CMapStringToString::CMapStringToString(INT_PTR nBlockSize) : m_pTable(std::make_unique<Table>(nBlockSize)) {}
CMapStringToString::~CMapStringToString() = default;

INT_PTR CMapStringToString::GetCount() const { return static_cast<INT_PTR>(m_pTable->Count()); }
INT_PTR CMapStringToString::GetSize() const { return GetCount(); }
BOOL CMapStringToString::IsEmpty() const { return m_pTable->Count() == 0 ? TRUE : FALSE; }

BOOL CMapStringToString::Lookup(LPCWSTR key, CString& rValue) const {
    const Node* node = m_pTable->Find(key);
    if (!node) return FALSE;
    rValue = node->value;
    return TRUE;
}

BOOL CMapStringToString::LookupKey(LPCWSTR key, LPCWSTR& rKey) const {
    const Node* node = m_pTable->Find(key);
    if (!node) return FALSE;
    rKey = node->key;
    return TRUE;
}

CString& CMapStringToString::operator[](LPCWSTR key) { return m_pTable->FindOrAdd(key).value; }
void CMapStringToString::SetAt(LPCWSTR key, LPCWSTR newValue) { m_pTable->FindOrAdd(key).value = newValue; }
BOOL CMapStringToString::RemoveKey(LPCWSTR key) { return m_pTable->Remove(key) ? TRUE : FALSE; }
void CMapStringToString::RemoveAll() { m_pTable->Clear(); }

POSITION CMapStringToString::GetStartPosition() const {
    return m_pTable->Count() == 0 ? nullptr : BEFORE_START_POSITION;
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const {
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

UINT CMapStringToString::GetHashTableSize() const { return m_pTable->BucketCount(); }
void CMapStringToString::InitHashTable(UINT hashSize, BOOL bAllocNow) { m_pTable->SetStartSize(hashSize, bAllocNow != FALSE); }
UINT CMapStringToString::HashKey(LPCWSTR key) const { return vela::afx::HashStringKey(key); }
