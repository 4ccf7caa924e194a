// CStatic, CButton and CEdit over the built-in controls: what each wrapper sends and what it
// hands back.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "WndTestSupport.h"

namespace {

class CControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), u"parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                      nullptr, nullptr));
    }
    void TearDown() override {
        m_parent.DestroyWindow();
        CWnd::DeleteTempMap();
    }
    CWnd m_parent;
};

TEST_F(CControlTest, ButtonCheckStateAndStyle) {
    CButton box;
    ASSERT_TRUE(box.Create(u"確認", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 80, 20), &m_parent, 10));
    EXPECT_TRUE(box.IsKindOf(RUNTIME_CLASS(CButton)));
    EXPECT_EQ(box.GetButtonStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    EXPECT_NE(box.GetState() & BST_CHECKED, 0u);
    box.SetState(TRUE);
    EXPECT_NE(box.GetState() & BST_PUSHED, 0u);
    box.SetState(FALSE);
    EXPECT_EQ(box.GetState() & BST_PUSHED, 0u);

    box.SetButtonStyle(BS_RADIOBUTTON);
    EXPECT_EQ(box.GetButtonStyle(), static_cast<UINT>(BS_RADIOBUTTON));
    EXPECT_NE(box.GetStyle() & WS_VISIBLE, 0u);  // only the button's own bits change
    EXPECT_EQ(::GetDlgCtrlID(box.m_hWnd), 10);
}

TEST_F(CControlTest, ButtonPicturesComeBackAsTheyWereSet) {
    CButton button;
    ASSERT_TRUE(button.Create(u"", WS_CHILD | BS_PUSHBUTTON | BS_BITMAP, CRect(0, 0, 40, 40), &m_parent, 11));
    CClientDC screen(nullptr);
    CBitmap first;
    CBitmap second;
    ASSERT_TRUE(first.CreateCompatibleBitmap(&screen, 8, 8));
    ASSERT_TRUE(second.CreateCompatibleBitmap(&screen, 8, 8));
    EXPECT_EQ(button.SetBitmap(first), nullptr);
    EXPECT_EQ(button.SetBitmap(second), static_cast<HBITMAP>(first));
    EXPECT_EQ(button.GetBitmap(), static_cast<HBITMAP>(second));
    button.DestroyWindow();
}

TEST_F(CControlTest, StaticIconIsSwappedAndReturned) {
    CStatic picture;
    ASSERT_TRUE(picture.Create(u"", WS_CHILD | WS_VISIBLE | SS_ICON, CRect(0, 0, 32, 32), &m_parent));
    EXPECT_EQ(::GetDlgCtrlID(picture.m_hWnd), 0xffff);  // the id a static gets when none is given
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(picture.SetIcon(icon), nullptr);
    EXPECT_EQ(picture.GetIcon(), icon);
    EXPECT_EQ(picture.SetIcon(nullptr), icon);
}

TEST_F(CControlTest, EditSelectionReplacementAndLimits) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 150, 20), &m_parent, 12));
    edit.SetWindowText(u"abcdef");
    edit.SetSel(1, 3);
    int start = -1;
    int end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(1, 3)));
    edit.ReplaceSel(u"日本");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString(u"a日本def"));
    edit.GetSel(start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);

    edit.SetSel(0, -1);  // everything
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(0, 6)));
    edit.SetSel(MAKELONG(2, 4));
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(2, 4)));

    edit.LimitText(4);
    EXPECT_EQ(edit.GetLimitText(), 4u);
    EXPECT_TRUE(edit.SetReadOnly());
    EXPECT_NE(edit.GetStyle() & ES_READONLY, 0u);
    EXPECT_TRUE(edit.SetReadOnly(FALSE));
    EXPECT_EQ(edit.GetStyle() & ES_READONLY, 0u);

    WCHAR line[8] = {};
    EXPECT_EQ(edit.GetLine(0, line, 3), 3);  // cut to the buffer, not terminated
    EXPECT_EQ(CString(line, 3), CString(u"a日本"));
    EXPECT_EQ(edit.GetLine(0, line, 0), 0);
    EXPECT_EQ(edit.GetLineCount(), 1);
}

}  // namespace
