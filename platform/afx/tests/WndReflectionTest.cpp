// Notifications that a parent receives reach the child's own object first: an owner-drawn
// button draws itself, a control handles its own clicks (or lets the parent have them too), and
// chooses its own colours.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <vela/Input.h>

#include <string>
#include <vector>

#include "WndTestSupport.h"

namespace {

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

constexpr UINT kButtonId = 10;
constexpr UINT kClickerId = 11;
constexpr UINT kSharerId = 12;
constexpr UINT kPainterId = 13;

class COwnerButton : public CButton {
public:
    int m_nDraws = 0;
    UINT m_nLastItemId = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        ++m_nDraws;
        m_nLastItemId = lpDrawItemStruct->CtlID;
    }
};

// Handles its own click and keeps it from the parent.
class CClicker : public CWnd {
public:
    afx_msg void OnClicked() { Calls().push_back("clicker"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CClicker, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

// Sees its click and lets the parent have it as well.
class CSharer : public CWnd {
public:
    afx_msg BOOL OnClicked() {
        Calls().push_back("sharer");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSharer, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

HBRUSH const kPainterBrush = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(0x5150));

class CPainter : public CWnd {
public:
    UINT m_nLastKind = 99;
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        m_nLastKind = nCtlColor;
        return kPainterBrush;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPainter, CWnd)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CParent : public CWnd {
public:
    afx_msg void OnClicker() { Calls().push_back("parent clicker"); }
    afx_msg void OnSharer() { Calls().push_back("parent sharer"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParent, CWnd)
    ON_BN_CLICKED(kClickerId, OnClicker)
    ON_BN_CLICKED(kSharerId, OnSharer)
END_MESSAGE_MAP()

class CWndReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Calls().clear();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), u"parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                      nullptr, nullptr));
    }
    void TearDown() override {
        m_parent.DestroyWindow();
        CWnd::DeleteTempMap();
    }
    HWND Child(CWnd& object, UINT nID) {
        HWND hWnd = afxtest::MakeRecorder(m_parent.m_hWnd, static_cast<int>(nID));
        EXPECT_TRUE(object.SubclassWindow(hWnd));
        return hWnd;
    }
    LRESULT Command(UINT nID, UINT nCode, HWND hWndCtrl) {
        return m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), reinterpret_cast<LPARAM>(hWndCtrl));
    }
    CParent m_parent;
};

}  // namespace

TEST_F(CWndReflectionTest, OwnerDrawnButtonDrawsItselfThroughItsParent) {
    COwnerButton button;
    ASSERT_TRUE(button.Create(u"OK", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 90, 40), &m_parent, kButtonId));

    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = kButtonId;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = button.m_hWnd;
    dis.rcItem = RECT{0, 0, 80, 30};
    int nBefore = button.m_nDraws;
    EXPECT_EQ(m_parent.SendMessage(WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(button.m_nDraws, nBefore + 1);
    EXPECT_EQ(button.m_nLastItemId, kButtonId);

    // The same path when the platform's button asks its parent to draw it.
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_GT(button.m_nDraws, nBefore + 1);
}

TEST_F(CWndReflectionTest, ReflectedClicksStayWithTheControlUnlessItPassesThemOn) {
    CClicker clicker;
    CSharer sharer;
    HWND hClicker = Child(clicker, kClickerId);
    HWND hSharer = Child(sharer, kSharerId);
    Command(kClickerId, BN_CLICKED, hClicker);
    Command(kSharerId, BN_CLICKED, hSharer);
    Command(kClickerId, BN_DOUBLECLICKED, hClicker);  // no reflected entry, no parent entry
    EXPECT_EQ(Calls(), (std::vector<std::string>{"clicker", "sharer", "parent sharer"}));
}

TEST_F(CWndReflectionTest, ControlChoosesItsOwnColoursAndAControlWithoutObjectDoesNot) {
    CPainter painter;
    HWND hPainter = Child(painter, kPainterId);
    HDC hdc = ::GetDC(m_parent.m_hWnd);
    LRESULT lBrush = m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                          reinterpret_cast<LPARAM>(hPainter));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(lBrush), kPainterBrush);
    EXPECT_EQ(painter.m_nLastKind, static_cast<UINT>(CTLCOLOR_STATIC));

    HWND hPlain = afxtest::MakeRecorder(m_parent.m_hWnd, 14);
    lBrush = m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hPlain));
    EXPECT_NE(reinterpret_cast<HBRUSH>(lBrush), kPainterBrush);
    ::ReleaseDC(m_parent.m_hWnd, hdc);
}
