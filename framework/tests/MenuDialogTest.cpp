// The menu dialog as a launcher uses it: a three-level menu tree walked by taps, the special
// buttons' state, program starts written to the operation log, and selections that must not
// be acted on.
#include <vela/Terminal.h>

#include "MenuDialogTestSupport.h"

using fwtest::CLauncherDialog;
using fwtest::Field;
using fwtest::TapControl;

namespace {

class MenuDialog : public testing::Test {
protected:
    void SetUp() override {
        fwtest::UseManualClock();
        vela::terminal::Get().ResetForTests();
        program = fwtest::WriteProgram(dir, "tool.exe");
        // Main menu -> sub-menu 1 -> sub-menu 2, each with a program or a label beside.
        fwtest::WriteMenu(dir, "sub2.mnu", fwtest::ProgramEntry(1, "深い業務", program));
        fwtest::WriteMenu(dir, "sub1.mnu",
                  "[01]\nKIND=2\nTEXT=下へ\nEXEPATH=" + Narrow(dir.Path("sub2.mnu")) + "\n" +
                      fwtest::ProgramEntry(2, "業務B", program));
        fwtest::WriteMenu(dir, "main.mnu",
                  "[01]\nKIND=2\nTEXT=サブメニュー\nEXEPATH=" + Narrow(dir.Path("sub1.mnu")) + "\n" +
                      fwtest::LabelEntry(2, "ラベル") + fwtest::ProgramEntry(3, "業務A", program, "/a;b c") +
                      fwtest::ProgramEntry(4, "存在しない", dir.Path("missing.exe")) +
                      "[05]\nKIND=2\nTEXT=行き先なし\nEXEPATH=\n");
    }
    void TearDown() override {
        if (dialog.m_hWnd != nullptr) dialog.DestroyWindow();
        vela::input::PumpUntilIdle();
        CWnd::DeleteTempMap();
        vela::clock::UseHost();
    }

    static std::string Narrow(const std::u16string& ascii) { return std::string(ascii.begin(), ascii.end()); }

    void Open() { ASSERT_TRUE(dialog.Create(IDD_MENU)); }
    bool SpecialButtonsEnabled() { return dialog.Top()->IsWindowEnabled() && dialog.Up()->IsWindowEnabled(); }
    bool SpecialButtonsDisabled() { return !dialog.Top()->IsWindowEnabled() && !dialog.Up()->IsWindowEnabled(); }
    std::u16string Title() { return dialog.Spec().GetDispName().str(); }
    std::u16string ButtonText(int i) {
        CVLFWMenuItem* item = dialog.m_entries[i].GetMenuItem();
        return item != nullptr ? item->GetDispName().str() : u"(none)";
    }
    std::vector<std::vector<std::u16string>> Log() { return vlfwtest::ReadLog(dir.HostPath("menu.log")); }

    fwtest::Watchdog watchdog{60};
    TerminalTempDir dir;
    std::u16string program;
    CLauncherDialog dialog{dir.Path("main.mnu"), dir.Path("menu.log")};
};

TEST_F(MenuDialog, WalksDownUpAndToTheTopWithTheSpecialButtonsFollowingTheDepth) {
    Open();
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(Title(), u"メインメニュー");
    EXPECT_TRUE(SpecialButtonsDisabled());
    EXPECT_EQ(ButtonText(0), u"サブメニュー");
    EXPECT_EQ(ButtonText(1), u"ラベル");
    // The entry buttons were made owner-drawn when they were subclassed.
    EXPECT_EQ(dialog.m_entries[0].GetButtonStyle() & 0x0F, static_cast<UINT>(BS_OWNERDRAW));

    // Going up or to the top from the first menu does nothing (the buttons are disabled, and
    // the messages themselves are ignored at depth 1).
    const int readsAtStart = dialog.m_nReads;
    TapControl(dialog, IDC_UP);
    dialog.PostMessage(VLFWMenuPrevMessage());
    dialog.PostMessage(VLFWMenuTopMessage());
    vela::input::PumpUntilIdle();
    EXPECT_EQ(dialog.m_nReads, readsAtStart);
    EXPECT_EQ(dialog.GetDepth(), 1);

    TapControl(dialog, IDC_ENTRY1);
    EXPECT_EQ(dialog.GetDepth(), 2);
    EXPECT_EQ(Title(), u"サブメニュー");
    EXPECT_TRUE(SpecialButtonsEnabled());
    EXPECT_EQ(ButtonText(0), u"下へ");
    EXPECT_EQ(ButtonText(2), u"(none)");

    TapControl(dialog, IDC_ENTRY1);
    EXPECT_EQ(dialog.GetDepth(), 3);
    EXPECT_EQ(Title(), u"下へ");
    EXPECT_EQ(ButtonText(0), u"深い業務");

    TapControl(dialog, IDC_UP);
    EXPECT_EQ(dialog.GetDepth(), 2);
    EXPECT_EQ(dialog.Spec().GetFullPath().str(), dir.Path("sub1.mnu"));
    EXPECT_TRUE(SpecialButtonsEnabled());

    TapControl(dialog, IDC_UP);
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(Title(), u"メインメニュー");
    EXPECT_TRUE(SpecialButtonsDisabled());

    TapControl(dialog, IDC_ENTRY1);
    TapControl(dialog, IDC_ENTRY1);
    ASSERT_EQ(dialog.GetDepth(), 3);
    TapControl(dialog, IDC_TOP);
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(dialog.Spec().GetFullPath().str(), dir.Path("main.mnu"));
    EXPECT_EQ(ButtonText(2), u"業務A");
    EXPECT_TRUE(SpecialButtonsDisabled());
    EXPECT_TRUE(Log().empty());  // walking the tree writes no records
}

TEST_F(MenuDialog, MenusReadWithoutALogonNameStillCountAsUsingLogon) {
    Open();
    EXPECT_TRUE(dialog.Spec().IsUseLogon());
    EXPECT_EQ(dialog.Spec().GetLogonName().str(), u"");
    EXPECT_TRUE(dialog.Entry(0)->IsUseLogon());
    EXPECT_TRUE(dialog.Entry(2)->IsUseLogon());
    EXPECT_EQ(dialog.Entry(2)->GetLogonName().str(), u"");
}

TEST_F(MenuDialog, ProgramStartsWriteAStartAndAnEndOrAbortRecordEach) {
    Open();
    TapControl(dialog, IDC_ENTRY3);  // 業務A: a program that starts
    TapControl(dialog, IDC_ENTRY4);  // 存在しない: a program that does not exist

    const auto records = Log();
    ASSERT_EQ(records.size(), 4u);
    for (const auto& record : records) {
        ASSERT_EQ(record.size(), 17u);
        EXPECT_EQ(Field(record, 3), u"7");  // the log ID stands in for the process with "ptbox"
        EXPECT_EQ(Field(record, 4), u"7");
        EXPECT_EQ(Field(record, 6), u"HT-01");
        EXPECT_EQ(Field(record, 8), u"tester");
        EXPECT_EQ(Field(record, 9), u"ptbox");
    }
    EXPECT_EQ(Field(records[0], 5), u"1");
    EXPECT_EQ(Field(records[0], 10), u"業務A");
    EXPECT_EQ(Field(records[0], 12), u"");
    EXPECT_EQ(Field(records[1], 5), u"2");
    EXPECT_EQ(Field(records[1], 10), u"業務A");
    EXPECT_EQ(Field(records[1], 12), u"起動しました");  // VelaFW's text, not the application's 2

    EXPECT_EQ(Field(records[2], 5), u"1");
    EXPECT_EQ(Field(records[2], 10), u"存在しない");
    EXPECT_EQ(Field(records[3], 5), u"4");
    EXPECT_EQ(Field(records[3], 12), u"[0x00000002] 起動できませんでした");

    // The program was started with its arguments as the command line; the menu stayed.
    const auto starts = vela::terminal::Get().GetRecords().processStarts;
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].imageName, program);
    EXPECT_EQ(starts[0].commandLine, u"/a;b c");
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(ButtonText(2), u"業務A");
}

TEST_F(MenuDialog, LabelsAndEntriesWithoutATargetStartNothing) {
    Open();
    const UINT selectMenu = VLFWSelectMenuMessage();
    auto clickPosts = [&](int i) {
        // The click notification reaches the button through its parent, as a tap's would.
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(fwtest::kEntryIds[i], BN_CLICKED),
                           reinterpret_cast<LPARAM>(dialog.m_entries[i].m_hWnd));
        MSG msg;
        const bool posted = ::PeekMessageW(&msg, dialog.m_hWnd, selectMenu, selectMenu, PM_NOREMOVE) != FALSE;
        vela::input::PumpUntilIdle();
        return posted;
    };
    EXPECT_FALSE(clickPosts(1));  // the label
    EXPECT_TRUE(clickPosts(4));   // neither program nor sub-menu: posted, and then ignored
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(vela::terminal::Get().GetRecords().processStarts.empty());
}

TEST_F(MenuDialog, ASelectionQueuedBeforeTheMenuChangedIsIgnored) {
    Open();
    const UINT selectMenu = VLFWSelectMenuMessage();
    CVLFWMenuItem* subMenu = dialog.Entry(0);
    CVLFWMenuItem* programA = dialog.Entry(2);
    // Two clicks in a row: the first opens the sub-menu, which deletes the entry of the second.
    dialog.PostMessage(selectMenu, 0, reinterpret_cast<LPARAM>(subMenu));
    dialog.PostMessage(selectMenu, 0, reinterpret_cast<LPARAM>(programA));
    vela::input::PumpUntilIdle();
    EXPECT_EQ(dialog.GetDepth(), 2);
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(vela::terminal::Get().GetRecords().processStarts.empty());

    // The menu read again gives new entries, possibly at the old addresses: a click queued
    // before still names the old menu's entry and starts nothing.
    dialog.PostMessage(selectMenu, 0, reinterpret_cast<LPARAM>(dialog.Entry(1)));
    ASSERT_TRUE(dialog.ReadSpec(dir.Path("sub1.mnu").c_str(), u"again", nullptr));
    vela::input::PumpUntilIdle();
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(vela::terminal::Get().GetRecords().processStarts.empty());

    // Nor is anything that never was an entry.
    CVLFWMenuItem stranger;
    EXPECT_EQ(dialog.OnExecItem(0, reinterpret_cast<LPARAM>(&stranger)), 0);
    EXPECT_EQ(dialog.OnExecItem(0, 0), 0);
    EXPECT_EQ(dialog.GetDepth(), 3);
}

TEST_F(MenuDialog, AnUnreadableSubMenuEmptiesTheMenuAndLeavesNoButtonOnAGoneEntry) {
    Open();
    dialog.m_nReads = 0;
    CVLFWMenuItem* subMenu = dialog.Entry(0);
    std::filesystem::remove(dir.HostPath("sub1.mnu"));

    // A dialog that refreshes its buttons only after a successful read would keep showing
    // the deleted entries; the framework takes them off the buttons before reading.
    dialog.m_bKeepButtonsOnFailure = true;
    EXPECT_FALSE(dialog.ReadSpec(subMenu->GetFullPath(), subMenu->GetDispName(), nullptr));
    EXPECT_EQ(dialog.m_entries[0].GetMenuItem(), nullptr);
    EXPECT_EQ(dialog.m_entries[2].GetMenuItem(), nullptr);
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(dialog.Spec().GetSize(), 0);
    dialog.UpdateWindow();  // painting the buttons touches no deleted entry
}

TEST_F(MenuDialog, UpAndTopWithAMenuFileThatIsGoneCutTheDepthFirst) {
    Open();
    TapControl(dialog, IDC_ENTRY1);
    TapControl(dialog, IDC_ENTRY1);
    ASSERT_EQ(dialog.GetDepth(), 3);
    std::filesystem::remove(dir.HostPath("sub1.mnu"));
    TapControl(dialog, IDC_UP);
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(dialog.Spec().GetSize(), 0);

    std::filesystem::remove(dir.HostPath("main.mnu"));
    ASSERT_TRUE(dialog.ReadSpec(dir.Path("sub2.mnu").c_str(), u"深い", nullptr));
    ASSERT_EQ(dialog.GetDepth(), 2);
    TapControl(dialog, IDC_TOP);
    EXPECT_EQ(dialog.GetDepth(), 0);
    EXPECT_TRUE(SpecialButtonsDisabled());
}

TEST_F(MenuDialog, AMenuThatOpensItselfGoesDeeperThanAnyFixedLimitAndBackAgain) {
    fwtest::WriteMenu(dir, "loop.mnu", "[01]\nKIND=2\nTEXT=もう一段\nEXEPATH=" + Narrow(dir.Path("loop.mnu")) + "\n");
    Open();
    ASSERT_TRUE(dialog.ReadSpec(dir.Path("loop.mnu").c_str(), u"ループ", nullptr));
    const UINT selectMenu = VLFWSelectMenuMessage();
    for (int level = 0; level < 300; ++level) {
        dialog.SendMessage(selectMenu, 0, reinterpret_cast<LPARAM>(dialog.Entry(0)));
    }
    EXPECT_EQ(dialog.GetDepth(), 302);
    TapControl(dialog, IDC_UP);
    EXPECT_EQ(dialog.GetDepth(), 301);
    EXPECT_EQ(Title(), u"もう一段");
    TapControl(dialog, IDC_TOP);
    EXPECT_EQ(dialog.GetDepth(), 1);
    EXPECT_EQ(Title(), u"メインメニュー");
}

}  // namespace
