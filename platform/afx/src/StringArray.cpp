// CStringArray: a growable array of strings. An index out of range is never followed: reads
// give an empty string, writes are ignored, and ElementAt hands out a scratch string.
#include <afxcoll.h>

#include <algorithm>
#include <vector>

namespace {
bool InRange(INT_PTR index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }
}  // namespace

CStringArray::CStringArray() = default;
CStringArray::~CStringArray() = default;

INT_PTR CStringArray::GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
INT_PTR CStringArray::GetCount() const { return GetSize(); }
BOOL CStringArray::IsEmpty() const { return m_data.empty() ? TRUE : FALSE; }
INT_PTR CStringArray::GetUpperBound() const { return GetSize() - 1; }

// The growth step is left to the vector.
void CStringArray::SetSize(INT_PTR nNewSize, INT_PTR) {
    if (nNewSize >= 0) m_data.resize(static_cast<size_t>(nNewSize));
}

void CStringArray::FreeExtra() { m_data.shrink_to_fit(); }
void CStringArray::RemoveAll() {
    m_data.clear();
    m_data.shrink_to_fit();
}

const CString& CStringArray::GetAt(INT_PTR nIndex) const {
    static const CString none;
    return InRange(nIndex, m_data.size()) ? m_data[static_cast<size_t>(nIndex)] : none;
}

void CStringArray::SetAt(INT_PTR nIndex, LPCWSTR newElement) {
    if (InRange(nIndex, m_data.size())) m_data[static_cast<size_t>(nIndex)] = newElement;
}

CString& CStringArray::ElementAt(INT_PTR nIndex) {
    if (InRange(nIndex, m_data.size())) return m_data[static_cast<size_t>(nIndex)];
    m_strNone.Empty();
    return m_strNone;
}

// The new element is copied before the array grows: it may point into one of its strings.
void CStringArray::SetAtGrow(INT_PTR nIndex, LPCWSTR newElement) {
    if (nIndex < 0) return;
    CString value(newElement);
    if (static_cast<size_t>(nIndex) >= m_data.size()) m_data.resize(static_cast<size_t>(nIndex) + 1);
    m_data[static_cast<size_t>(nIndex)] = std::move(value);
}

// Growing moves no element, so the new one may be the text of one of the array's strings.
INT_PTR CStringArray::Add(LPCWSTR newElement) {
    m_data.emplace_back(newElement);
    return GetUpperBound();
}

INT_PTR CStringArray::Add(const CString& newElement) {
    m_data.push_back(newElement);
    return GetUpperBound();
}

INT_PTR CStringArray::Append(const CStringArray& src) {
    const INT_PTR oldSize = GetSize();
    const std::vector<CString> copy(src.m_data.begin(), src.m_data.end());  // src may be this array
    m_data.insert(m_data.end(), copy.begin(), copy.end());
    return oldSize;
}

void CStringArray::Copy(const CStringArray& src) {
    if (&src != this) m_data = src.m_data;
}

const CString& CStringArray::operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
CString& CStringArray::operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

// Inserting beyond the end grows the array with empty strings up to the insertion point.
void CStringArray::InsertAt(INT_PTR nIndex, LPCWSTR newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount <= 0) return;
    const CString value(newElement);
    if (static_cast<size_t>(nIndex) > m_data.size()) m_data.resize(static_cast<size_t>(nIndex));
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value);
}

// A count reaching beyond the end removes up to the end; a start out of range removes nothing.
void CStringArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (!InRange(nIndex, m_data.size()) || nCount <= 0) return;
    const size_t count = std::min(static_cast<size_t>(nCount), m_data.size() - static_cast<size_t>(nIndex));
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + static_cast<INT_PTR>(count));
}
