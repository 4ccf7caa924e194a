// CString: the class library's growable UTF-16 string with value semantics.
#pragma once

#include <string>

#include <windows.h>
#include <vela/WideFormat.h>

class CString {
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(LPCWSTR psz);                  // null gives an empty string
    CString(LPCWSTR pch, int nLength);     // nLength characters, which may include NULs
    explicit CString(LPCSTR psz);          // ANSI code page text
    CString(WCHAR ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCWSTR psz);
    CString& operator=(WCHAR ch);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(WCHAR ch);

    int GetLength() const;
    BOOL IsEmpty() const;
    void Empty();
    WCHAR GetAt(int nIndex) const;
    void SetAt(int nIndex, WCHAR ch);
    WCHAR operator[](int nIndex) const;
    operator LPCWSTR() const;

    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;
    int Collate(LPCWSTR psz) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    CString& TrimLeft();
    CString& TrimLeft(WCHAR chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(WCHAR chTarget);
    CString& TrimRight(LPCWSTR pszTargets);
    CString& Trim();
    CString& Trim(WCHAR chTarget);
    CString& Trim(LPCWSTR pszTargets);

    int Find(WCHAR ch, int nStart = 0) const;
    int Find(LPCWSTR pszSub, int nStart = 0) const;
    int ReverseFind(WCHAR ch) const;
    int FindOneOf(LPCWSTR pszCharSet) const;

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;

    int Replace(WCHAR chOld, WCHAR chNew);
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    int Remove(WCHAR ch);
    int Insert(int nIndex, WCHAR ch);
    int Insert(int nIndex, LPCWSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // Direct access to the characters. GetBuffer(n) gives room for at least n characters
    // and a terminator; ReleaseBuffer(-1) takes the length up to the first NUL.
    LPWSTR GetBuffer(int nMinBufLength);
    LPWSTR GetBuffer();
    LPWSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void FreeExtra();

    template <typename... Args>
    void Format(LPCWSTR pszFormat, const Args&... args) {
        m_str = vela::FormatWideArgs(pszFormat, args...);
    }
    template <typename... Args>
    void AppendFormat(LPCWSTR pszFormat, const Args&... args) {
        m_str += vela::FormatWideArgs(pszFormat, args...);
    }

    // The underlying text, for the platform's own use.
    const std::u16string& str() const { return m_str; }

private:
    std::u16string m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, WCHAR b);
CString operator+(WCHAR a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator==(LPCWSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCWSTR b);
bool operator!=(LPCWSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCWSTR b);
bool operator<(LPCWSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCWSTR b);
bool operator>(LPCWSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);
