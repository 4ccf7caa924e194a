// CVLSysIniFile: an INI/specification file read into memory once by Create and answered from
// memory afterwards. CVLSysIniFileSection: one section, a map from key to value that also keeps
// its keys in order of first arrival.
#pragma once

#include <windows.h>
#include <afx.h>
#include <afxcoll.h>

class AFX_EXT_CLASS CVLSysIniFileSection {
public:
    CVLSysIniFileSection();
    ~CVLSysIniFileSection();

    // Stores the key exactly as given (no trimming, no case change); a new key is appended to
    // m_aKey, a known one keeps its place and takes the new value.
    void SetAt(LPCWSTR key, LPCWSTR value);
    // Exact, case-sensitive match. Not found: returns 0 and leaves value unchanged.
    BOOL Lookup(LPCWSTR key, CString& value);
    // Enumeration in the order of m_mapValue, not of m_aKey.
    POSITION GetStartPosition();
    void GetNextAssoc(POSITION& pos, CString& key, CString& value) const;

    CStringArray m_aKey;
    CMapStringToString m_mapValue;

private:
    CVLSysIniFileSection(const CVLSysIniFileSection&) = delete;
    CVLSysIniFileSection& operator=(const CVLSysIniFileSection&) = delete;
};

class AFX_EXT_CLASS CVLSysIniFile {
public:
    CVLSysIniFile();
    virtual ~CVLSysIniFile();

    // Reads the file and merges it into what the object already holds.
    BOOL Create(LPCWSTR path);

    int GetPrivateProfileInt(LPCWSTR section, LPCWSTR key, int defaultValue);
    // Never writes more than size characters (terminator included); returns the length held.
    DWORD GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                                  DWORD size);
    void GetInt(LPCWSTR section, LPCWSTR key, int& value);
    void GetString(LPCWSTR section, LPCWSTR key, CString& value);

    void DumpData();

protected:
    // The parser: stream is the FILE* that Create opened in text mode. Nonzero on success.
    virtual BOOL GetSpecData(void* stream);
    void Clear();

    CMapStringToPtr m_mapSection;
    CStringArray m_aSectionName;

private:
    CVLSysIniFile(const CVLSysIniFile&) = delete;
    CVLSysIniFile& operator=(const CVLSysIniFile&) = delete;
};
