// CPtrArray: a growable array of untyped pointers. An index out of range is never followed:
// reads give null, writes are ignored, and ElementAt hands out a scratch slot.
#include <afxcoll.h>

#include <algorithm>

namespace {
bool InRange(INT_PTR index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }
}  // namespace

CPtrArray::CPtrArray() = default;
CPtrArray::~CPtrArray() = default;

INT_PTR CPtrArray::GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
INT_PTR CPtrArray::GetCount() const { return GetSize(); }
BOOL CPtrArray::IsEmpty() const { return m_data.empty() ? TRUE : FALSE; }
INT_PTR CPtrArray::GetUpperBound() const { return GetSize() - 1; }

// The growth step is left to the vector.
void CPtrArray::SetSize(INT_PTR nNewSize, INT_PTR) {
    if (nNewSize >= 0) m_data.resize(static_cast<size_t>(nNewSize), nullptr);
}

void CPtrArray::FreeExtra() { m_data.shrink_to_fit(); }
void CPtrArray::RemoveAll() {
    m_data.clear();
    m_data.shrink_to_fit();
}

void* CPtrArray::GetAt(INT_PTR nIndex) const {
    return InRange(nIndex, m_data.size()) ? m_data[static_cast<size_t>(nIndex)] : nullptr;
}

void CPtrArray::SetAt(INT_PTR nIndex, void* newElement) {
    if (InRange(nIndex, m_data.size())) m_data[static_cast<size_t>(nIndex)] = newElement;
}

void*& CPtrArray::ElementAt(INT_PTR nIndex) {
    if (InRange(nIndex, m_data.size())) return m_data[static_cast<size_t>(nIndex)];
    m_pNone = nullptr;
    return m_pNone;
}

const void** CPtrArray::GetData() const {
    void* raw = const_cast<void**>(m_data.data());
    return m_data.empty() ? nullptr : static_cast<const void**>(raw);
}
void** CPtrArray::GetData() { return m_data.empty() ? nullptr : m_data.data(); }

void CPtrArray::SetAtGrow(INT_PTR nIndex, void* newElement) {
    if (nIndex < 0) return;
    if (static_cast<size_t>(nIndex) >= m_data.size()) m_data.resize(static_cast<size_t>(nIndex) + 1, nullptr);
    m_data[static_cast<size_t>(nIndex)] = newElement;
}

INT_PTR CPtrArray::Add(void* newElement) {
    m_data.push_back(newElement);
    return GetUpperBound();
}

INT_PTR CPtrArray::Append(const CPtrArray& src) {
    const INT_PTR oldSize = GetSize();
    const std::vector<void*> copy(src.m_data);  // src may be this array
    m_data.insert(m_data.end(), copy.begin(), copy.end());
    return oldSize;
}

void CPtrArray::Copy(const CPtrArray& src) {
    if (&src != this) m_data = src.m_data;
}

void* CPtrArray::operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
void*& CPtrArray::operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

// Inserting beyond the end grows the array with nulls up to the insertion point.
void CPtrArray::InsertAt(INT_PTR nIndex, void* newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount <= 0) return;
    if (static_cast<size_t>(nIndex) > m_data.size()) m_data.resize(static_cast<size_t>(nIndex), nullptr);
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), newElement);
}

// A count reaching beyond the end removes up to the end; a start out of range removes nothing.
void CPtrArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (!InRange(nIndex, m_data.size()) || nCount <= 0) return;
    const size_t count = std::min(static_cast<size_t>(nCount), m_data.size() - static_cast<size_t>(nIndex));
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + static_cast<INT_PTR>(count));
}
