// CVLFWMenuItem and CVLFWMenuSpec: reading a menu specification file into menu entries.
#include "VLFWMenuSpec.h"

#include "VLFWMenuIniFile.h"

#include <tchar.h>

#include <utility>

namespace {

constexpr DWORD kItemBit = 0x0001;
constexpr DWORD kDirectoryBit = 0x0002;
constexpr DWORD kCommentBit = 0x0004;
constexpr DWORD kEmptyBit = 0x8000;

// Show-window commands of the "RUNSIZE" values.
constexpr int kShowNormal = 5;
constexpr int kShowMinimized = 6;
constexpr int kShowRunsize2 = 11;

constexpr int kKindLabel = 1;
constexpr int kKindEntry = 2;
constexpr int kLastSection = 100;

DWORD WithBit(DWORD flags, DWORD bit, BOOL value) { return value ? (flags | bit) : (flags & ~bit); }

// "%02d" of 1 to 100: the names of the entry sections.
struct SectionName {
    explicit SectionName(int number) {
        WCHAR* out = text;
        if (number >= 100) *out++ = static_cast<WCHAR>(u'0' + number / 100);
        *out++ = static_cast<WCHAR>(u'0' + number / 10 % 10);
        *out++ = static_cast<WCHAR>(u'0' + number % 10);
        *out = 0;
    }
    operator LPCWSTR() const { return text; }
    WCHAR text[4];
};

// What GetInt gives for a key of the section: the value's decimal conversion, or the default.
int IntValue(CVLSysIniFileSection& section, LPCWSTR key, int defaultValue) {
    CString value;
    return section.Lookup(key, value) ? _wtoi(value) : defaultValue;
}

}  // namespace

CVLFWMenuItem::CVLFWMenuItem() : m_bUseLogon(FALSE), m_nShowCommand(kShowNormal) { ClearFlags(); }

CVLFWMenuItem::CVLFWMenuItem(const CVLFWMenuItem& other) = default;

CVLFWMenuItem& CVLFWMenuItem::operator=(const CVLFWMenuItem& other) = default;

CVLFWMenuItem::~CVLFWMenuItem() = default;

BOOL CVLFWMenuItem::IsItem() const { return (m_dwFlags & kItemBit) != 0; }
BOOL CVLFWMenuItem::IsDirectory() const { return (m_dwFlags & kDirectoryBit) != 0; }
BOOL CVLFWMenuItem::IsComment() const { return (m_dwFlags & kCommentBit) != 0; }
BOOL CVLFWMenuItem::IsEmpty() const { return (m_dwFlags & kEmptyBit) != 0; }

void CVLFWMenuItem::SetItem(BOOL value) { m_dwFlags = WithBit(m_dwFlags, kItemBit, value); }
void CVLFWMenuItem::SetDirectory(BOOL value) { m_dwFlags = WithBit(m_dwFlags, kDirectoryBit, value); }
void CVLFWMenuItem::SetComment(BOOL value) { m_dwFlags = WithBit(m_dwFlags, kCommentBit, value); }
void CVLFWMenuItem::SetEmpty(BOOL value) { m_dwFlags = WithBit(m_dwFlags, kEmptyBit, value); }

void CVLFWMenuItem::ClearFlags() { m_dwFlags = 0; }

CVLFWMenuSpec::CVLFWMenuSpec() : m_bUseLogon(FALSE), m_mapName(10) {}

CVLFWMenuSpec::~CVLFWMenuSpec() { Clean(); }

void CVLFWMenuSpec::Clean() {
    for (INT_PTR i = 0; i < GetSize(); ++i) delete static_cast<CVLFWMenuItem*>(GetAt(i));
    SetSize(0);
    m_mapName.RemoveAll();
}

int CVLFWMenuSpec::Add(CVLFWMenuItem* item) {
    CString name = item->GetDispName();
    void* unused = nullptr;
    if (name.IsEmpty()) {
        do {
            name += u' ';
        } while (m_mapName.Lookup(name, unused));
    } else {
        for (int counter = 2; m_mapName.Lookup(name, unused); ++counter) {
            name.Format(u"%s(%d)", item->GetDispName(), counter);
        }
    }
    if (name != item->GetDispName()) item->SetDispName(name);
    m_mapName.SetAt(name, nullptr);
    return static_cast<int>(CPtrArray::Add(item));
}

BOOL CVLFWMenuSpec::Read(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName) {
    Clean();
    if (dispName != nullptr) m_strDispName = dispName;
    m_strFullPath = path;
    if (logonName != nullptr) {
        m_bUseLogon = TRUE;
        m_strLogonName = logonName;
    } else {
        m_bUseLogon = FALSE;
        m_strLogonName.Empty();
    }

    CVLFWMenuIniFile file;
    if (!file.Create(path)) return FALSE;

    for (int number = 1; number <= kLastSection; ++number) {
        // Every look-up of a missing section gives its default, and kind 0 makes no entry.
        CVLSysIniFileSection* section = file.GetSection(SectionName(number));
        if (section == nullptr) continue;

        CString text;
        section->Lookup(u"TEXT", text);
        const int kind = IntValue(*section, u"KIND", 0);

        if (kind == kKindLabel) {
            auto* item = new CVLFWMenuItem;
            item->SetComment(TRUE);
            item->SetEmpty(FALSE);
            item->m_strDispName = std::move(text);
            Add(item);
            continue;
        }
        if (kind != kKindEntry) continue;
        // A dropped entry reserves no display name.
        if (IntValue(*section, u"PARTSMODE", 0) == 1) continue;

        auto* item = new CVLFWMenuItem;
        item->SetEmpty(FALSE);
        item->m_strDispName = std::move(text);
        item->m_strSelect.Format(u"%d", number);

        // Lookup leaves a field as it is (empty) when the key is missing.
        section->Lookup(u"EXEPATH", item->m_strFullPath);
        const CString& fullPath = item->m_strFullPath;
        if (fullPath.GetLength() > 4) {
            CString extension = fullPath.Right(4);
            extension.MakeLower();
            if (extension == u".mnu") {
                item->SetDirectory(TRUE);
            } else {
                item->SetItem(TRUE);
            }
        }
        section->Lookup(u"ENVPATH", item->m_strArg);
        section->Lookup(u"CURRENTPATH", item->m_strWorkingDirectory);

        CString runSize;
        section->Lookup(u"RUNSIZE", runSize);
        if (runSize == u"1") {
            item->SetShowCommand(kShowMinimized);
        } else if (runSize == u"2") {
            item->SetShowCommand(kShowRunsize2);
        } else {
            item->SetShowCommand(kShowNormal);
        }

        item->SetUseLogon(FALSE);
        if (IntValue(*section, u"LOGON", 0) == 1 || m_bUseLogon) item->SetUseLogon(TRUE);

        section->Lookup(u"USRNAME", item->m_strLogonName);
        if (item->m_strLogonName.IsEmpty() && item->IsUseLogon()) item->m_strLogonName = m_strLogonName;

        Add(item);
    }
    return TRUE;
}
