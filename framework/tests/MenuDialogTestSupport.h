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
#include <iterator>
#include <string>
#include <vector>

#include "AppProbe.h"
#include "LogLines.h"
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
inline void UseManualClock() { vela::clock::UseManual(vlfwtest::ManualStart()); }

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

// Entry sections of a menu file: a program (or a sub-menu, for a path ending in .mnu), a label.
inline std::string Section(int number) {
    char name[8];
    std::snprintf(name, sizeof name, "[%02d]\n", number);
    return name;
}
inline std::string ProgramEntry(int number, const std::string& text, const std::u16string& path,
                                const std::string& arguments = "") {
    const std::string exe(path.begin(), path.end());
    return Section(number) + "KIND=2\nTEXT=" + text + "\nEXEPATH=" + exe + "\nENVPATH=" + arguments + "\n";
}
inline std::string LabelEntry(int number, const std::string& text) {
    return Section(number) + "KIND=1\nTEXT=" + text + "\n";
}

// A program the platform can start, which ends at once. A binary rather than a script: the
// launcher does not wait, and a script would still be read after the test removed its folder.
inline std::u16string WriteProgram(const TerminalTempDir& dir, const std::string& name) {
    std::filesystem::copy_file("/bin/true", dir.HostPath(name));
    return dir.Path(name);
}

// Fields of a record of vlfwtest::ReadLog by position (1-based, as the log's format counts them).
inline const std::u16string& Field(const vlfwtest::LogFields& record, size_t position) {
    return record.at(position - 1);
}

}  // namespace fwtest
