// Shared pieces of the menu dialog tests: a launcher dialog as an application writes one, menu
// trees and programs in a temporary terminal folder, and the operation log read back.
#pragma once

#include <VelaFW.h>
#include <afxdialog.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vela/Clock.h>
#include <vela/Input.h>
#include <vela/Utf.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TerminalTempDir.h"
// The library's own message numbers: they were registered under the terminal root the
// process started with, before the tests chose theirs.
#include "VLFWShared.h"
#include "data/MenuDialogTestResource.h"

namespace fwtest {

// Ends the test program if a message loop never returns, instead of hanging the run.
class Watchdog {
public:
    explicit Watchdog(unsigned seconds) { ::alarm(seconds); }
    ~Watchdog() { ::alarm(0); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};

inline constexpr int kEntryIds[] = {IDC_ENTRY1, IDC_ENTRY2, IDC_ENTRY3, IDC_ENTRY4, IDC_ENTRY5};
inline constexpr int kEntryButtons = static_cast<int>(std::size(kEntryIds));

// The launcher dialog of an application: the first menu at start, the entries of the menu on
// the entry buttons after every read (the rest without an entry).
class CLauncherDialog : public CVLFWMenuDialog {
public:
    CLauncherDialog(std::u16string firstMenu, std::u16string logFile)
        : CVLFWMenuDialog(IDD_MENU, nullptr), m_firstMenu(std::move(firstMenu)) {
        SetLogFileName(logFile.c_str());  // a copy is kept: the text may go
        SetUsrName(u"tester");
        SetDeviceName(u"HT-01");
        SetLogID(7);
    }

    CVLFWMenuButton m_entries[kEntryButtons];
    int m_nReads = 0;
    // Leave the buttons alone after a failed read, as a careless launcher would.
    bool m_bKeepButtonsOnFailure = false;

    using CVLFWMenuDialog::GetDepth;
    using CVLFWMenuDialog::OnExecItem;
    using CVLFWMenuDialog::ReadSpec;
    CVLFWMenuSpec& Spec() { return m_spec; }
    CVLFWMenuItem* Entry(INT_PTR i) { return static_cast<CVLFWMenuItem*>(m_spec.GetAt(i)); }
    CButton* Top() { return m_pTopButton; }
    CButton* Up() { return m_pUpButton; }

    BOOL ReadSpec(LPCWSTR path, LPCWSTR dispName, LPCWSTR logonName) override {
        ++m_nReads;
        const BOOL bRead = CVLFWMenuDialog::ReadSpec(path, dispName, logonName);
        if (!bRead && m_bKeepButtonsOnFailure) return bRead;
        for (int i = 0; i < kEntryButtons; ++i) {
            m_entries[i].SetMenuItem(bRead && i < m_spec.GetSize() ? Entry(i) : nullptr);
            if (m_entries[i].m_hWnd != nullptr) m_entries[i].Invalidate();
        }
        return bRead;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CVLFWMenuDialog::DoDataExchange(pDX);
        for (int i = 0; i < kEntryButtons; ++i) DDX_Control(pDX, kEntryIds[i], m_entries[i]);
        DDX_Control(pDX, IDC_TOP, *m_pTopButton);
        DDX_Control(pDX, IDC_UP, *m_pUpButton);
    }
    BOOL OnInitDialog() override {
        CVLFWMenuDialog::OnInitDialog();
        ReadSpec(m_firstMenu.c_str(), u"メインメニュー", nullptr);
        return TRUE;
    }

private:
    std::u16string m_firstMenu;
};

// The manual platform clock at a fixed day, for every test that taps.
inline void UseManualClock() {
    SYSTEMTIME start{};
    start.wYear = 2026;
    start.wMonth = 4;
    start.wDay = 1;
    start.wHour = 9;
    vela::clock::UseManual(start);
}

// Screen centre of a control of the dialog.
inline POINT CenterOf(const CWnd& dialog, int id) {
    RECT rc;
    ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, id), &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A tap on a control, and everything it causes (the posted selection included) handled.
inline void TapControl(const CWnd& dialog, int id) {
    // A second apart, so two taps on one button are never taken for a double tap.
    vela::clock::Advance(std::chrono::seconds(1));
    const POINT p = CenterOf(dialog, id);
    vela::input::Tap(p.x, p.y);
    vela::input::PumpUntilIdle();
}

// Menu files are text in code page 932; the tests write them in UTF-8.
inline std::string Cp932(const std::string& utf8) {
    const std::u16string text = vela::Utf8ToUtf16(utf8);
    std::string bytes(text.size() * 2, '\0');
    const int n = ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                        static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(n > 0 ? n : 0));
    return bytes;
}
inline std::u16string WriteMenu(const TerminalTempDir& dir, const std::string& name, const std::string& utf8) {
    return dir.Write(name, Cp932(utf8), true);
}

// One menu entry section of a menu file.
inline std::string ProgramEntry(int number, const std::string& text, const std::u16string& path,
                                const std::string& arguments = "") {
    char section[8];
    std::snprintf(section, sizeof section, "%02d", number);
    std::string exe(path.begin(), path.end());
    return std::string("[") + section + "]\nKIND=2\nTEXT=" + text + "\nEXEPATH=" + exe + "\nENVPATH=" + arguments + "\n";
}
inline std::string LabelEntry(int number, const std::string& text) {
    char section[8];
    std::snprintf(section, sizeof section, "%02d", number);
    return std::string("[") + section + "]\nKIND=1\nTEXT=" + text + "\n";
}

// A program the platform can start, which ends at once. A binary rather than a script: the
// launcher does not wait, and a script would still be read after the test removed its folder.
inline std::u16string WriteProgram(const TerminalTempDir& dir, const std::string& name) {
    std::filesystem::copy_file("/bin/true", dir.HostPath(name));
    return dir.Path(name);
}

// The records of an operation log, each split into its 17 fields (decoded from code page 932).
inline std::vector<std::vector<std::u16string>> ReadLog(const std::filesystem::path& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::vector<std::u16string>> records;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + 2;
        std::u16string text(line.size(), u'\0');
        const int n = ::MultiByteToWideChar(932, 0, line.data(), static_cast<int>(line.size()), text.data(),
                                            static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        // Quoted fields, a doubled quote standing for one.
        std::vector<std::u16string> fields;
        std::u16string field;
        bool quoted = false;
        for (size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (quoted && c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = !quoted;
            } else if (c == u',' && !quoted) {
                fields.push_back(field);
                field.clear();
            } else {
                field += c;
            }
        }
        fields.push_back(field);
        records.push_back(fields);
    }
    return records;
}

// Fields by position (1-based, as the log's format counts them).
inline const std::u16string& Field(const std::vector<std::u16string>& record, size_t position) {
    return record.at(position - 1);
}

}  // namespace fwtest
