// CMapStringToString: string keys to string values, over the shared string hash table.
#include <afxcoll.h>

#include "StringHashTable.h"

#include <new>

struct CMapStringToString::Table : vela::afx::StringHashTable<CString> {
    using StringHashTable::StringHashTable;
};

namespace {
using Node = vela::afx::StringHashTable<CString>::Node;
}

CMapStringToString::CMapStringToString(INT_PTR nBlockSize) {
    static_assert(sizeof(Table) <= sizeof(m_table) && alignof(Table) <= 8);
    new (m_table) Table(nBlockSize);
}
CMapStringToString::~CMapStringToString() { GetTable().~Table(); }

CMapStringToString::Table& CMapStringToString::GetTable() { return *std::launder(reinterpret_cast<Table*>(m_table)); }
const CMapStringToString::Table& CMapStringToString::GetTable() const {
    return *std::launder(reinterpret_cast<const Table*>(m_table));
}

INT_PTR CMapStringToString::GetCount() const { return static_cast<INT_PTR>(GetTable().Count()); }
INT_PTR CMapStringToString::GetSize() const { return GetCount(); }
BOOL CMapStringToString::IsEmpty() const { return GetTable().Count() == 0 ? TRUE : FALSE; }

BOOL CMapStringToString::Lookup(LPCWSTR key, CString& rValue) const {
    const Node* node = GetTable().Find(key);
    if (!node) return FALSE;
    rValue = node->value;
    return TRUE;
}

BOOL CMapStringToString::LookupKey(LPCWSTR key, LPCWSTR& rKey) const {
    const Node* node = GetTable().Find(key);
    if (!node) return FALSE;
    rKey = node->key;
    return TRUE;
}

CString& CMapStringToString::operator[](LPCWSTR key) { return GetTable().FindOrAdd(key).value; }
void CMapStringToString::SetAt(LPCWSTR key, LPCWSTR newValue) { GetTable().FindOrAdd(key).value = newValue; }
BOOL CMapStringToString::RemoveKey(LPCWSTR key) { return GetTable().Remove(key) ? TRUE : FALSE; }
void CMapStringToString::RemoveAll() { GetTable().Clear(); }

POSITION CMapStringToString::GetStartPosition() const {
    return GetTable().Count() == 0 ? nullptr : BEFORE_START_POSITION;
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const {
    if (const Node* node = GetTable().Step(rNextPosition)) {
        rKey = node->key;
        rValue = node->value;
    }
}

UINT CMapStringToString::GetHashTableSize() const { return GetTable().BucketCount(); }
void CMapStringToString::InitHashTable(UINT hashSize, BOOL bAllocNow) { GetTable().SetStartSize(hashSize, bAllocNow != FALSE); }
UINT CMapStringToString::HashKey(LPCWSTR key) const { return vela::afx::HashStringKey(key); }
