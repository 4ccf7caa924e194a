// CString over a std::u16string. Members keep the class library's meanings; where the
// original would assert or write out of bounds on a bad argument (a negative count, an index
// beyond the end), the argument is clamped or the call ignored instead.
#include <afxstr.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include <wincrt.h>
#include <winnls.h>

namespace {

std::u16string_view View(LPCWSTR psz) {
    return psz ? std::u16string_view(psz) : std::u16string_view();
}

int Length(const std::u16string& s) { return static_cast<int>(s.size()); }

int CompareViews(std::u16string_view a, std::u16string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::u16string UpperCopy(std::u16string_view text) {
    std::u16string copy(text);
    if (!copy.empty()) CharUpperBuffW(copy.data(), static_cast<DWORD>(copy.size()));
    return copy;
}

bool IsHighSurrogate(WCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

CString::CString() = default;
CString::CString(const CString& other) = default;
CString::CString(CString&& other) noexcept = default;
CString::CString(LPCWSTR psz) : m_str(View(psz)) {}

CString::CString(LPCWSTR pch, int nLength) {
    if (pch && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(LPCSTR psz) {
    if (!psz || !*psz) return;
    const int bytes = static_cast<int>(std::min<size_t>(strlen(psz), INT32_MAX));
    const int needed = MultiByteToWideChar(CP_ACP, 0, psz, bytes, nullptr, 0);
    if (needed <= 0) return;
    m_str.resize(static_cast<size_t>(needed));
    const int written = MultiByteToWideChar(CP_ACP, 0, psz, bytes, m_str.data(), needed);
    m_str.resize(written > 0 ? static_cast<size_t>(written) : 0);
}

CString::CString(WCHAR ch, int nRepeat) {
    if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::~CString() = default;

CString& CString::operator=(const CString& other) = default;
CString& CString::operator=(CString&& other) noexcept = default;

CString& CString::operator=(LPCWSTR psz) {
    m_str = std::u16string(View(psz));  // psz may point into this string
    return *this;
}

CString& CString::operator=(WCHAR ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_str += other.m_str;
    return *this;
}

CString& CString::operator+=(LPCWSTR psz) {
    m_str += std::u16string(View(psz));
    return *this;
}

CString& CString::operator+=(WCHAR ch) {
    m_str.push_back(ch);
    return *this;
}

int CString::GetLength() const { return Length(m_str); }
BOOL CString::IsEmpty() const { return m_str.empty() ? TRUE : FALSE; }
void CString::Empty() { m_str.clear(); }

WCHAR CString::GetAt(int nIndex) const {
    return nIndex >= 0 && nIndex < Length(m_str) ? m_str[static_cast<size_t>(nIndex)] : WCHAR(0);
}

void CString::SetAt(int nIndex, WCHAR ch) {
    if (nIndex >= 0 && nIndex < Length(m_str)) m_str[static_cast<size_t>(nIndex)] = ch;
}

WCHAR CString::operator[](int nIndex) const { return GetAt(nIndex); }
CString::operator LPCWSTR() const { return m_str.c_str(); }

int CString::Compare(LPCWSTR psz) const { return CompareViews(m_str, View(psz)); }

int CString::CompareNoCase(LPCWSTR psz) const {
    return CompareViews(UpperCopy(m_str), UpperCopy(View(psz)));
}

// The host has no locale tables of the terminal; collation falls back to code unit order.
int CString::Collate(LPCWSTR psz) const { return Compare(psz); }

CString& CString::MakeUpper() {
    if (!m_str.empty()) CharUpperBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeLower() {
    if (!m_str.empty()) CharLowerBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

// Reverses characters, not code units: a surrogate pair stays in its order, so the result is
// still well-formed UTF-16.
CString& CString::MakeReverse() {
    std::reverse(m_str.begin(), m_str.end());
    for (size_t i = 0; i + 1 < m_str.size(); ++i) {
        if (IsLowSurrogate(m_str[i]) && IsHighSurrogate(m_str[i + 1])) {
            std::swap(m_str[i], m_str[i + 1]);
            ++i;
        }
    }
    return *this;
}

namespace {

template <typename Pred>
void TrimLeftWhile(std::u16string& s, Pred pred) {
    size_t first = 0;
    while (first < s.size() && pred(s[first])) ++first;
    s.erase(0, first);
}

template <typename Pred>
void TrimRightWhile(std::u16string& s, Pred pred) {
    size_t end = s.size();
    while (end > 0 && pred(s[end - 1])) --end;
    s.erase(end);
}

auto IsSpace() {
    return [](WCHAR c) { return iswspace(c) != 0; };
}
auto IsChar(WCHAR target) {
    return [target](WCHAR c) { return c == target; };
}
auto IsOneOf(std::u16string set) {
    return [set = std::move(set)](WCHAR c) { return set.find(c) != std::u16string::npos; };
}

}  // namespace

CString& CString::TrimLeft() {
    TrimLeftWhile(m_str, IsSpace());
    return *this;
}
CString& CString::TrimLeft(WCHAR chTarget) {
    TrimLeftWhile(m_str, IsChar(chTarget));
    return *this;
}
CString& CString::TrimLeft(LPCWSTR pszTargets) {
    TrimLeftWhile(m_str, IsOneOf(std::u16string(View(pszTargets))));
    return *this;
}
CString& CString::TrimRight() {
    TrimRightWhile(m_str, IsSpace());
    return *this;
}
CString& CString::TrimRight(WCHAR chTarget) {
    TrimRightWhile(m_str, IsChar(chTarget));
    return *this;
}
CString& CString::TrimRight(LPCWSTR pszTargets) {
    TrimRightWhile(m_str, IsOneOf(std::u16string(View(pszTargets))));
    return *this;
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(WCHAR chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCWSTR pszTargets) {
    const std::u16string targets(View(pszTargets));
    return TrimRight(targets.c_str()).TrimLeft(targets.c_str());
}

int CString::Find(WCHAR ch, int nStart) const {
    if (nStart < 0 || nStart >= Length(m_str)) return -1;
    const size_t at = m_str.find(ch, static_cast<size_t>(nStart));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCWSTR pszSub, int nStart) const {
    if (!pszSub || nStart < 0 || nStart > Length(m_str)) return -1;
    const size_t at = m_str.find(std::u16string_view(pszSub), static_cast<size_t>(nStart));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(WCHAR ch) const {
    const size_t at = m_str.rfind(ch);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const {
    const std::u16string_view set = View(pszCharSet);
    if (set.empty()) return -1;
    const size_t at = m_str.find_first_of(set);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int nCount) const {
    if (nCount <= 0) return CString();
    return CString(m_str.c_str(), std::min(nCount, Length(m_str)));
}

CString CString::Right(int nCount) const {
    if (nCount <= 0) return CString();
    const int length = Length(m_str);
    if (nCount >= length) return *this;
    return CString(m_str.c_str() + (length - nCount), nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, Length(m_str)); }

CString CString::Mid(int nFirst, int nCount) const {
    const int length = Length(m_str);
    if (nFirst < 0) nFirst = 0;
    if (nCount <= 0 || nFirst >= length) return CString();
    if (nCount > length - nFirst) nCount = length - nFirst;
    return CString(m_str.c_str() + nFirst, nCount);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const {
    const std::u16string_view set = View(pszCharSet);
    const size_t end = set.empty() ? 0 : m_str.find_first_not_of(set);
    return Left(end == std::u16string::npos ? Length(m_str) : static_cast<int>(end));
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const {
    const std::u16string_view set = View(pszCharSet);
    const size_t end = set.empty() ? std::u16string::npos : m_str.find_first_of(set);
    return Left(end == std::u16string::npos ? Length(m_str) : static_cast<int>(end));
}

int CString::Replace(WCHAR chOld, WCHAR chNew) {
    if (chOld == chNew) return 0;
    int count = 0;
    for (WCHAR& c : m_str) {
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
    // Copies first: either argument may point into this string.
    const std::u16string oldText(View(pszOld));
    const std::u16string newText(View(pszNew));
    if (oldText.empty()) return 0;
    std::u16string result;
    int count = 0;
    size_t from = 0;
    for (size_t at; (at = m_str.find(oldText, from)) != std::u16string::npos; from = at + oldText.size()) {
        result.append(m_str, from, at - from);
        result += newText;
        ++count;
    }
    if (count == 0) return 0;
    result.append(m_str, from, std::u16string::npos);
    m_str = std::move(result);
    return count;
}

int CString::Remove(WCHAR ch) {
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, WCHAR ch) {
    const WCHAR text[2] = {ch, 0};
    return Insert(nIndex, text);
}

int CString::Insert(int nIndex, LPCWSTR psz) {
    const std::u16string text(View(psz));
    nIndex = std::clamp(nIndex, 0, Length(m_str));
    m_str.insert(static_cast<size_t>(nIndex), text);
    return Length(m_str);
}

int CString::Delete(int nIndex, int nCount) {
    const int length = Length(m_str);
    if (nIndex < 0) nIndex = 0;
    if (nCount > 0 && nIndex < length) {
        if (nCount > length - nIndex) nCount = length - nIndex;
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    }
    return Length(m_str);
}

// The buffer handed out is the string itself, lengthened to the size asked for; the part
// beyond the old text is zero-filled, so ReleaseBuffer(-1) always finds a terminator.
LPWSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > Length(m_str)) m_str.resize(static_cast<size_t>(nMinBufLength));
    return m_str.data();
}

LPWSTR CString::GetBuffer() { return GetBuffer(0); }

LPWSTR CString::GetBufferSetLength(int nNewLength) {
    m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    const size_t limit = m_str.size();
    size_t length = 0;
    if (nNewLength < 0) {
        while (length < limit && m_str[length] != 0) ++length;
    } else {
        length = std::min(static_cast<size_t>(nNewLength), limit);
    }
    m_str.resize(length);
}

void CString::FreeExtra() { m_str.shrink_to_fit(); }

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCWSTR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCWSTR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, WCHAR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(WCHAR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
bool operator!=(LPCWSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
bool operator<(const CString& a, LPCWSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCWSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.str() > b.str(); }
bool operator>(const CString& a, LPCWSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCWSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.str() <= b.str(); }
bool operator>=(const CString& a, const CString& b) { return a.str() >= b.str(); }
