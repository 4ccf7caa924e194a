// Dialogs from the test executable's compiled resources (DIALOG and DIALOGEX): captions and
// texts from the script's code page, icon controls, owner-drawn items, the default button and
// the extended font.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "data/resources/PlatformTestsResource.h"

namespace {

struct Seen {
  std::vector<DRAWITEMSTRUCT> drawn;
};
Seen* g_seen = nullptr;

INT_PTR CALLBACK ResourceDlgProc(HWND, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_DRAWITEM && g_seen) {
    g_seen->drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  }
  return FALSE;
}

std::u16string Text(HWND hwnd) {
  WCHAR text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

class DialogResourceTest : public ::testing::Test {
 protected:
  void SetUp() override { g_seen = &seen_; }
  void TearDown() override {
    vela::input::PumpUntilIdle();
    g_seen = nullptr;
  }
  Seen seen_;
};

TEST_F(DialogResourceTest, ClassicTemplateWithIconOwnerDrawAndDefaultButton) {
  HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PLAIN), nullptr, ResourceDlgProc, 0);
  ASSERT_NE(nullptr, dlg);
  ShowWindow(dlg, SW_SHOW);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(u"入荷検品", Text(dlg));
  EXPECT_EQ(u"キャンセル", Text(GetDlgItem(dlg, IDCANCEL)));
  EXPECT_EQ(GetDlgItem(dlg, IDC_NAME), GetFocus()) << "EDITTEXT is the first tab stop";
  EXPECT_EQ(static_cast<LRESULT>(MAKELPARAM(IDOK, DC_HASDEFID)), SendMessageW(dlg, DM_GETDEFID, 0, 0));

  // The ICON statement: a static whose title names the icon resource.
  HWND icon = nullptr;
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
  ASSERT_NE(nullptr, icon);
  auto loaded = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
  ASSERT_NE(nullptr, loaded);
  SIZE iconSize{};
  ASSERT_TRUE(GetIconSize(loaded, &iconSize));
  RECT iconRect;
  GetClientRect(icon, &iconRect);
  EXPECT_EQ(iconSize.cx, iconRect.right) << "the control takes the icon's size";
  EXPECT_EQ(iconSize.cy, iconRect.bottom);

  bool sawOwnerDraw = false;
  for (const DRAWITEMSTRUCT& dis : seen_.drawn) {
    if (dis.CtlID != IDC_OWNER_DRAWN) continue;
    sawOwnerDraw = true;
    EXPECT_EQ(static_cast<UINT>(ODT_BUTTON), dis.CtlType);
    EXPECT_EQ(GetDlgItem(dlg, IDC_OWNER_DRAWN), dis.hwndItem);
    EXPECT_EQ(static_cast<UINT>(ODA_DRAWENTIRE), dis.itemAction);
    RECT client;
    GetClientRect(dis.hwndItem, &client);
    EXPECT_EQ(client.right, dis.rcItem.right);
    EXPECT_EQ(client.bottom, dis.rcItem.bottom);
  }
  EXPECT_TRUE(sawOwnerDraw);
  DestroyWindow(dlg);
}

TEST_F(DialogResourceTest, ExtendedTemplateFontAndGroups) {
  HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EXTENDED), nullptr, ResourceDlgProc, 0);
  ASSERT_NE(nullptr, dlg);
  EXPECT_EQ(u"設定", Text(dlg));
  auto font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  ASSERT_NE(nullptr, font);
  LOGFONTW lf{};
  ASSERT_NE(0, GetObjectW(font, sizeof(lf), &lf));
  EXPECT_GE(lf.lfWeight, FW_SEMIBOLD);
  EXPECT_LT(lf.lfHeight, 0) << "a character height from the point size";

  CheckRadioButton(dlg, 1102, 1103, 1103);
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(dlg, 1103));
  EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(dlg, 1102));
  EXPECT_TRUE(CheckDlgButton(dlg, 1101, BST_CHECKED));
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(dlg, 1101));
  // The group starts at the WS_GROUP radio button; going back from it wraps to the group's
  // last control rather than leaving for the check box before it.
  EXPECT_EQ(GetDlgItem(dlg, 1103), GetNextDlgGroupItem(dlg, GetDlgItem(dlg, 1102), FALSE));
  EXPECT_EQ(GetDlgItem(dlg, 1102), GetNextDlgGroupItem(dlg, GetDlgItem(dlg, 1103), TRUE));
  EXPECT_NE(GetDlgItem(dlg, 1101), GetNextDlgGroupItem(dlg, GetDlgItem(dlg, 1102), TRUE));
  DestroyWindow(dlg);
}

TEST_F(DialogResourceTest, MissingTemplate) {
  SetLastError(0);
  EXPECT_EQ(nullptr, CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PLAIN + 100), nullptr,
                                        ResourceDlgProc, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
}

}  // namespace
