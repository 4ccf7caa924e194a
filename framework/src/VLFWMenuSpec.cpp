// CVLFWMenuItem and CVLFWMenuSpec: reading a menu specification file into menu entries.
#include "VLFWMenuSpec.h"

#include "VLFWMenuIniFile.h"

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
        CString section;
        section.Format(u"%02d", number);

        auto* item = new CVLFWMenuItem;
        CString text;
        int kind = 0;
        file.GetString(section, u"TEXT", text);
        file.GetInt(section, u"KIND", kind);

        if (kind == kKindLabel) {
            item->SetComment(TRUE);
            item->SetEmpty(FALSE);
            item->SetDispName(text);
            Add(item);
            continue;
        }
        if (kind != kKindEntry) {
            delete item;
            continue;
        }

        item->SetEmpty(FALSE);
        item->SetDispName(text);
        CString select;
        select.Format(u"%d", number);
        item->SetSelect(select);

        int partsMode = 0;
        file.GetInt(section, u"PARTSMODE", partsMode);
        if (partsMode == 1) {
            delete item;
            continue;
        }

        CString value;
        file.GetString(section, u"EXEPATH", value);
        item->SetFullPath(value);
        if (value.GetLength() > 4) {
            CString extension = value.Right(4);
            extension.MakeLower();
            if (extension == u".mnu") {
                item->SetDirectory(TRUE);
            } else {
                item->SetItem(TRUE);
            }
        }

        value.Empty();
        file.GetString(section, u"ENVPATH", value);
        item->SetArg(value);
        value.Empty();
        file.GetString(section, u"CURRENTPATH", value);
        item->SetWorkingDirectory(value);

        value.Empty();
        file.GetString(section, u"RUNSIZE", value);
        if (value == u"1") {
            item->SetShowCommand(kShowMinimized);
        } else if (value == u"2") {
            item->SetShowCommand(kShowRunsize2);
        } else {
            item->SetShowCommand(kShowNormal);
        }

        item->SetUseLogon(FALSE);
        int logon = 0;
        file.GetInt(section, u"LOGON", logon);
        if (logon == 1 || m_bUseLogon) item->SetUseLogon(TRUE);

        value.Empty();
        file.GetString(section, u"USRNAME", value);
        item->SetLogonName(value);
        if (value.IsEmpty() && item->IsUseLogon()) item->SetLogonName(m_strLogonName);

        Add(item);
    }
    return TRUE;
}
