// CStringList: a doubly-linked list of strings; a POSITION is a node. A null position is
// never followed: reads give an empty string and writes go to a scratch string.
#include <afxcoll.h>

struct CStringList::Node {
    Node* prev;
    Node* next;
    CString data;
};

namespace {
template <typename NodeT>
POSITION ToPosition(NodeT* node) { return reinterpret_cast<POSITION>(node); }
}  // namespace

CStringList::CStringList(INT_PTR) {}
CStringList::~CStringList() { RemoveAll(); }

INT_PTR CStringList::GetCount() const { return m_nCount; }
INT_PTR CStringList::GetSize() const { return m_nCount; }
BOOL CStringList::IsEmpty() const { return m_nCount == 0 ? TRUE : FALSE; }

CString& CStringList::GetHead() { return GetAt(GetHeadPosition()); }
const CString& CStringList::GetHead() const { return GetAt(GetHeadPosition()); }
CString& CStringList::GetTail() { return GetAt(GetTailPosition()); }
const CString& CStringList::GetTail() const { return GetAt(GetTailPosition()); }

CString CStringList::RemoveHead() {
    if (!m_pHead) return CString();
    CString value = std::move(m_pHead->data);
    RemoveAt(ToPosition(m_pHead));
    return value;
}

CString CStringList::RemoveTail() {
    if (!m_pTail) return CString();
    CString value = std::move(m_pTail->data);
    RemoveAt(ToPosition(m_pTail));
    return value;
}

POSITION CStringList::AddHead(LPCWSTR newElement) { return InsertBefore(GetHeadPosition(), newElement); }
POSITION CStringList::AddTail(LPCWSTR newElement) { return InsertAfter(GetTailPosition(), newElement); }

// Copies are taken by count, so a list may be added to itself.
void CStringList::AddHead(CStringList* pNewList) {
    if (!pNewList) return;
    Node* node = pNewList->m_pTail;
    for (INT_PTR i = pNewList->m_nCount; i > 0 && node; --i, node = node->prev) {
        const CString value(node->data);
        AddHead(value);
    }
}

void CStringList::AddTail(CStringList* pNewList) {
    if (!pNewList) return;
    Node* node = pNewList->m_pHead;
    for (INT_PTR i = pNewList->m_nCount; i > 0 && node; --i, node = node->next) {
        const CString value(node->data);
        AddTail(value);
    }
}

void CStringList::RemoveAll() {
    for (Node* node = m_pHead; node;) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
}

POSITION CStringList::GetHeadPosition() const { return ToPosition(m_pHead); }
POSITION CStringList::GetTailPosition() const { return ToPosition(m_pTail); }

CString& CStringList::GetNext(POSITION& rPosition) {
    CString& value = GetAt(rPosition);
    if (rPosition) rPosition = ToPosition(reinterpret_cast<Node*>(rPosition)->next);
    return value;
}

const CString& CStringList::GetNext(POSITION& rPosition) const {
    return const_cast<CStringList*>(this)->GetNext(rPosition);
}

CString& CStringList::GetPrev(POSITION& rPosition) {
    CString& value = GetAt(rPosition);
    if (rPosition) rPosition = ToPosition(reinterpret_cast<Node*>(rPosition)->prev);
    return value;
}

const CString& CStringList::GetPrev(POSITION& rPosition) const {
    return const_cast<CStringList*>(this)->GetPrev(rPosition);
}

CString& CStringList::GetAt(POSITION position) {
    if (position) return reinterpret_cast<Node*>(position)->data;
    m_strNone.Empty();
    return m_strNone;
}

const CString& CStringList::GetAt(POSITION position) const {
    static const CString none;
    return position ? reinterpret_cast<const Node*>(position)->data : none;
}

void CStringList::SetAt(POSITION pos, LPCWSTR newElement) {
    if (pos) reinterpret_cast<Node*>(pos)->data = newElement;
}

void CStringList::RemoveAt(POSITION position) {
    Node* node = reinterpret_cast<Node*>(position);
    if (!node) return;
    (node->prev ? node->prev->next : m_pHead) = node->next;
    (node->next ? node->next->prev : m_pTail) = node->prev;
    delete node;
    --m_nCount;
}

// A null position inserts at the head, as the class library does.
POSITION CStringList::InsertBefore(POSITION position, LPCWSTR newElement) {
    Node* before = reinterpret_cast<Node*>(position);
    if (!before) before = m_pHead;
    Node* node = new Node{before ? before->prev : nullptr, before, CString(newElement)};
    (node->prev ? node->prev->next : m_pHead) = node;
    (before ? before->prev : m_pTail) = node;
    ++m_nCount;
    return ToPosition(node);
}

// A null position inserts at the tail, as the class library does.
POSITION CStringList::InsertAfter(POSITION position, LPCWSTR newElement) {
    Node* after = reinterpret_cast<Node*>(position);
    if (!after) after = m_pTail;
    Node* node = new Node{after, after ? after->next : nullptr, CString(newElement)};
    (node->next ? node->next->prev : m_pTail) = node;
    (after ? after->next : m_pHead) = node;
    ++m_nCount;
    return ToPosition(node);
}

POSITION CStringList::Find(LPCWSTR searchValue, POSITION startAfter) const {
    const Node* node = startAfter ? reinterpret_cast<const Node*>(startAfter)->next : m_pHead;
    for (; node; node = node->next)
        if (node->data == searchValue) return ToPosition(const_cast<Node*>(node));
    return nullptr;
}

POSITION CStringList::FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    Node* node = m_pHead;
    while (nIndex-- > 0) node = node->next;
    return ToPosition(node);
}
