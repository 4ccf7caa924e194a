// Collections of the class library with its names and iteration rules.
//
// The maps are hashed with the class library's string hash and enumerate in bucket order.
// The hash size given to InitHashTable (default 17) is where a table starts; it grows as
// entries arrive, so a map of a million keys stays fast.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "afx.h"

class CPtrArray : public CObject {
public:
    CPtrArray();
    ~CPtrArray() override;

    INT_PTR GetSize() const;
    INT_PTR GetCount() const;
    BOOL IsEmpty() const;
    INT_PTR GetUpperBound() const;
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll();
    void* GetAt(INT_PTR nIndex) const;
    void SetAt(INT_PTR nIndex, void* newElement);
    void*& ElementAt(INT_PTR nIndex);
    const void** GetData() const;
    void** GetData();
    void SetAtGrow(INT_PTR nIndex, void* newElement);
    INT_PTR Add(void* newElement);
    INT_PTR Append(const CPtrArray& src);
    void Copy(const CPtrArray& src);
    void* operator[](INT_PTR nIndex) const;
    void*& operator[](INT_PTR nIndex);
    void InsertAt(INT_PTR nIndex, void* newElement, INT_PTR nCount = 1);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    std::vector<void*> m_data;
    void* m_pNone = nullptr;  // what an index out of range reads and writes
};

class CStringArray : public CObject {
public:
    CStringArray();
    ~CStringArray() override;

    INT_PTR GetSize() const;
    INT_PTR GetCount() const;
    BOOL IsEmpty() const;
    INT_PTR GetUpperBound() const;
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll();
    const CString& GetAt(INT_PTR nIndex) const;
    void SetAt(INT_PTR nIndex, LPCWSTR newElement);
    CString& ElementAt(INT_PTR nIndex);
    void SetAtGrow(INT_PTR nIndex, LPCWSTR newElement);
    INT_PTR Add(LPCWSTR newElement);
    INT_PTR Add(const CString& newElement);
    INT_PTR Append(const CStringArray& src);
    void Copy(const CStringArray& src);
    const CString& operator[](INT_PTR nIndex) const;
    CString& operator[](INT_PTR nIndex);
    void InsertAt(INT_PTR nIndex, LPCWSTR newElement, INT_PTR nCount = 1);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    // In segments rather than one block: a long array never asks for a large block (malloc
    // answers that by first sweeping up every small block freed), and growing moves nothing.
    std::deque<CString> m_data;
    CString m_strNone;  // what an index out of range reads and writes
};

class CStringList : public CObject {
public:
    explicit CStringList(INT_PTR nBlockSize = 10);
    ~CStringList() override;
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;

    INT_PTR GetCount() const;
    INT_PTR GetSize() const;
    BOOL IsEmpty() const;
    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;
    CString RemoveHead();
    CString RemoveTail();
    POSITION AddHead(LPCWSTR newElement);
    POSITION AddTail(LPCWSTR newElement);
    void AddHead(CStringList* pNewList);
    void AddTail(CStringList* pNewList);
    void RemoveAll();
    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CString& GetNext(POSITION& rPosition);
    const CString& GetNext(POSITION& rPosition) const;
    CString& GetPrev(POSITION& rPosition);
    const CString& GetPrev(POSITION& rPosition) const;
    CString& GetAt(POSITION position);
    const CString& GetAt(POSITION position) const;
    void SetAt(POSITION pos, LPCWSTR newElement);
    void RemoveAt(POSITION position);
    POSITION InsertBefore(POSITION position, LPCWSTR newElement);
    POSITION InsertAfter(POSITION position, LPCWSTR newElement);
    POSITION Find(LPCWSTR searchValue, POSITION startAfter = nullptr) const;
    POSITION FindIndex(INT_PTR nIndex) const;

private:
    struct Node;
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
    CString m_strNone;  // what a null position reads and writes, instead of memory elsewhere
};

class CMapStringToPtr : public CObject {
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10);
    ~CMapStringToPtr() override;
    CMapStringToPtr(const CMapStringToPtr&) = delete;
    CMapStringToPtr& operator=(const CMapStringToPtr&) = delete;

    INT_PTR GetCount() const;
    INT_PTR GetSize() const;
    BOOL IsEmpty() const;
    BOOL Lookup(LPCWSTR key, void*& rValue) const;
    BOOL LookupKey(LPCWSTR key, LPCWSTR& rKey) const;
    void*& operator[](LPCWSTR key);
    void SetAt(LPCWSTR key, void* newValue);
    BOOL RemoveKey(LPCWSTR key);
    void RemoveAll();
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;
    UINT GetHashTableSize() const;
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);
    UINT HashKey(LPCWSTR key) const;

private:
    struct Table;
    Table& GetTable();
    const Table& GetTable() const;
    // The hash table lives in the map rather than on the heap: one allocation less per map,
    // and one pointer less to follow on every look-up.
    static constexpr size_t kTableBytes = 224;
    alignas(8) unsigned char m_table[kTableBytes];
};

class CMapStringToString : public CObject {
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10);
    ~CMapStringToString() override;
    CMapStringToString(const CMapStringToString&) = delete;
    CMapStringToString& operator=(const CMapStringToString&) = delete;

    INT_PTR GetCount() const;
    INT_PTR GetSize() const;
    BOOL IsEmpty() const;
    BOOL Lookup(LPCWSTR key, CString& rValue) const;
    BOOL LookupKey(LPCWSTR key, LPCWSTR& rKey) const;
    CString& operator[](LPCWSTR key);
    void SetAt(LPCWSTR key, LPCWSTR newValue);
    BOOL RemoveKey(LPCWSTR key);
    void RemoveAll();
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;
    UINT GetHashTableSize() const;
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);
    UINT HashKey(LPCWSTR key) const;

private:
    struct Table;
    Table& GetTable();
    const Table& GetTable() const;
    // The hash table lives in the map rather than on the heap: one allocation less per map,
    // and one pointer less to follow on every look-up.
    static constexpr size_t kTableBytes = 224;
    alignas(8) unsigned char m_table[kTableBytes];
};
