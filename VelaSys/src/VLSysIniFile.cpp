// CVLSysIniFile and CVLSysIniFileSection: the INI grammar and the in-memory look-ups.
#include "VLSysIniFile.h"

#include <tchar.h>

#include <cstdio>
#include <cstring>

#include "IniSections.h"

using namespace vela::ini;

namespace {

constexpr INT_PTR kBlockSize = 10;
constexpr UINT kHashSize = 17;

// Upper-case copy of a name given to a look-up; a null name is the empty name. Names that fit
// stay on the stack so that a look-up does not allocate.
class UpperName {
public:
    explicit UpperName(LPCWSTR name) {
        if (name == nullptr) name = u"";
        size_t length = wcslen(name);
        WCHAR* out = m_local;
        if (length >= sizeof(m_local) / sizeof(m_local[0])) out = m_heap.GetBuffer(static_cast<int>(length));
        for (size_t i = 0; i < length; ++i) out[i] = Upper(name[i]);
        out[length] = 0;
        if (out != m_local) m_heap.ReleaseBuffer(static_cast<int>(length));
        m_name = out == m_local ? m_local : static_cast<LPCWSTR>(m_heap);
    }
    operator LPCWSTR() const { return m_name; }

private:
    WCHAR m_local[128];
    CString m_heap;
    LPCWSTR m_name;
};

CVLSysIniFileSection* FindSection(const CMapStringToPtr& sections, LPCWSTR section) {
    void* found = nullptr;
    if (!sections.Lookup(UpperName(section), found)) return nullptr;
    return static_cast<CVLSysIniFileSection*>(found);
}

// The stored value, or null. Answers as the section's Lookup would, without copying the value:
// a look-up must not allocate.
const CString* FindValue(const CMapStringToPtr& sections, LPCWSTR section, LPCWSTR key) {
    CVLSysIniFileSection* found = FindSection(sections, section);
    if (found == nullptr) return nullptr;
    const UpperName upperKey(key);
    LPCWSTR storedKey = nullptr;
    if (!found->m_mapValue.LookupKey(upperKey, storedKey)) return nullptr;
    return &found->m_mapValue[upperKey];  // present, so nothing is added
}

// Copies at most size - 1 characters and terminates; returns the number copied. The source
// may be the buffer itself.
DWORD CopyTruncated(LPWSTR buffer, DWORD size, LPCWSTR text, size_t length) {
    size_t n = length < size - 1 ? length : size - 1;
    std::memmove(buffer, text, n * sizeof(WCHAR));
    buffer[n] = 0;
    return static_cast<DWORD>(n);
}

}  // namespace

CVLSysIniFileSection::CVLSysIniFileSection() : m_mapValue(kBlockSize) { m_mapValue.InitHashTable(kHashSize); }

CVLSysIniFileSection::~CVLSysIniFileSection() {
    m_mapValue.RemoveAll();
    m_aKey.RemoveAll();
}

void CVLSysIniFileSection::SetAt(LPCWSTR key, LPCWSTR value) {
    if (key == nullptr) key = u"";
    if (value == nullptr) value = u"";
    // The map grows exactly when the key is new: one hashing instead of a Lookup first.
    INT_PTR before = m_mapValue.GetCount();
    m_mapValue.SetAt(key, value);
    if (m_mapValue.GetCount() != before) m_aKey.Add(key);
}

BOOL CVLSysIniFileSection::Lookup(LPCWSTR key, CString& value) {
    return m_mapValue.Lookup(key == nullptr ? u"" : key, value);
}

POSITION CVLSysIniFileSection::GetStartPosition() { return m_mapValue.GetStartPosition(); }

void CVLSysIniFileSection::GetNextAssoc(POSITION& pos, CString& key, CString& value) const {
    m_mapValue.GetNextAssoc(pos, key, value);
}

CVLSysIniFile::CVLSysIniFile() : m_mapSection(kBlockSize) { m_mapSection.InitHashTable(kHashSize); }

CVLSysIniFile::~CVLSysIniFile() { Clear(); }

void CVLSysIniFile::Clear() {
    POSITION pos = m_mapSection.GetStartPosition();
    while (pos != nullptr) {
        CString name;
        void* section = nullptr;
        m_mapSection.GetNextAssoc(pos, name, section);
        delete static_cast<CVLSysIniFileSection*>(section);
    }
    m_mapSection.RemoveAll();
    m_aSectionName.RemoveAll();
}

BOOL CVLSysIniFile::Create(LPCWSTR path) {
    if (path == nullptr) return FALSE;
    FILE* file = _wfopen(path, u"r");
    if (file == nullptr) return FALSE;
    BOOL result = GetSpecData(file);
    fclose(file);
    DumpData();
    return result;
}

BOOL CVLSysIniFile::GetSpecData(void* stream) {
    FILE* file = static_cast<FILE*>(stream);
    WCHAR line[kLineChars];
    CVLSysIniFileSection* current = nullptr;

    while (fgetws(line, kLineChars, file) != nullptr) {
        if (IsUtf16Marker(line)) return FALSE;
        const WCHAR first = line[0];
        if (first == 0 || IsCommentStart(first)) continue;

        if (first == u'[') {
            if (WCHAR* name = HeaderName(line)) current = FindOrAddSection(m_mapSection, &m_aSectionName, name);
            continue;
        }

        if (current == nullptr) continue;
        // One pass finds the first "=" and the end of the line, which a ";" cuts short.
        WCHAR* equals = nullptr;
        WCHAR* end = line;
        for (; *end != 0 && *end != u';'; ++end) {
            if (*end == u'=' && equals == nullptr) equals = end;
        }
        if (equals == nullptr) continue;

        WCHAR* keyBegin = line;
        WCHAR* keyEnd = equals;
        WCHAR* valueBegin = equals + 1;
        WCHAR* valueEnd = end;
        Trim(keyBegin, keyEnd);
        Trim(valueBegin, valueEnd);
        UpperInPlace(keyBegin, keyEnd);
        *keyEnd = 0;
        *valueEnd = 0;
        current->SetAt(keyBegin, valueBegin);
    }
    return TRUE;
}

DWORD CVLSysIniFile::GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue,
                                             LPWSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    if (defaultValue == nullptr) defaultValue = u"";
    DWORD length = CopyTruncated(buffer, size, defaultValue, wcslen(defaultValue));
    if (const CString* value = FindValue(m_mapSection, section, key)) {
        length = CopyTruncated(buffer, size, *value, static_cast<size_t>(value->GetLength()));
    }
    return length;
}

int CVLSysIniFile::GetPrivateProfileInt(LPCWSTR section, LPCWSTR key, int defaultValue) {
    const CString* value = FindValue(m_mapSection, section, key);
    return value != nullptr ? _wtoi(*value) : defaultValue;
}

void CVLSysIniFile::GetInt(LPCWSTR section, LPCWSTR key, int& value) {
    value = GetPrivateProfileInt(section, key, value);
}

void CVLSysIniFile::GetString(LPCWSTR section, LPCWSTR key, CString& value) {
    // The result holds what a 2048-character buffer would; a missing entry leaves value as it
    // was, however long it is.
    const CString* found = FindValue(m_mapSection, section, key);
    if (found == nullptr) return;
    value = found->GetLength() > kLineChars - 1 ? found->Left(kLineChars - 1) : *found;
}

void CVLSysIniFile::DumpData() {
#ifdef _DEBUG
    POSITION pos = m_mapSection.GetStartPosition();
    while (pos != nullptr) {
        CString name;
        void* found = nullptr;
        m_mapSection.GetNextAssoc(pos, name, found);
        TRACE(u"SECTION=<%s>\n", name);
        auto* section = static_cast<CVLSysIniFileSection*>(found);
        POSITION entry = section->GetStartPosition();
        while (entry != nullptr) {
            CString key;
            CString value;
            section->GetNextAssoc(entry, key, value);
            TRACE(u"\t<%s>=<%s>\n", key, value);
        }
    }
#endif
}
