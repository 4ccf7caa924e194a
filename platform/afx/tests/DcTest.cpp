// CDC and the drawing objects: which C++ object a handle comes back as, who deletes handles,
// and the pixels of the class library's own drawing helpers.
#include <afxwin.h>
#include <gtest/gtest.h>
#include <vela/Screen.h>

#include "WndTestSupport.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 32-bit 16 x 16 bitmap selected into a memory DC.
class CDcTest : public ::testing::Test {
protected:
    void SetUp() override {
        CClientDC screen(nullptr);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, 16, 16));
        // Only the handle is kept: the wrapper SelectObject gives back is gone at idle time.
        m_hOldBitmap = *m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, 16, 16, kWhite);
    }
    void TearDown() override {
        m_dc.SelectObject(CBitmap::FromHandle(m_hOldBitmap));
        CGdiObject::DeleteTempMap();
        CDC::DeleteTempMap();
    }
    CDC m_dc;
    CBitmap m_bitmap;
    HBITMAP m_hOldBitmap = nullptr;
};

TEST_F(CDcTest, SelectionGivesBackThePreviousObject) {
    CBitmap* pOldBitmap = CBitmap::FromHandle(m_hOldBitmap);
    ASSERT_NE(pOldBitmap, nullptr);
    EXPECT_NE(pOldBitmap, &m_bitmap);
    // Selecting the old one back returns our own object, not a new wrapper.
    EXPECT_EQ(m_dc.SelectObject(pOldBitmap), &m_bitmap);
    EXPECT_EQ(m_dc.SelectObject(&m_bitmap), pOldBitmap);

    CPen red(PS_SOLID, 1, kRed);
    CPen* pOldPen = m_dc.SelectObject(&red);
    ASSERT_NE(pOldPen, nullptr);
    EXPECT_EQ(m_dc.GetCurrentPen(), &red);
    CGdiObject* pPrevious = m_dc.SelectStockObject(BLACK_PEN);
    ASSERT_NE(pPrevious, nullptr);
    EXPECT_EQ(pPrevious->m_hObject, red.m_hObject);
    m_dc.SelectObject(pOldPen);

    // Wrappers of handles nobody attached are the thread's until idle time, and never own them.
    HGDIOBJ stock = ::GetStockObject(GRAY_BRUSH);
    CBrush* pWrapper = CBrush::FromHandle(static_cast<HBRUSH>(stock));
    EXPECT_EQ(CBrush::FromHandle(static_cast<HBRUSH>(stock)), pWrapper);
    CBrush mine(kRed);
    EXPECT_EQ(CBrush::FromHandle(mine), &mine);
    EXPECT_NE(CPen::FromHandle(static_cast<HPEN>(mine.m_hObject)), static_cast<CGdiObject*>(&mine));
    EXPECT_EQ(CBrush::FromHandle(nullptr), nullptr);
}

TEST_F(CDcTest, ObjectsDeleteTheirHandlesUnlessDetached) {
    HGDIOBJ kept = nullptr;
    HGDIOBJ gone = nullptr;
    {
        CBrush detached(kRed);
        CBrush owned(kBlue);
        kept = detached.Detach();
        gone = owned.m_hObject;
        CGdiObject::DeleteTempMap();
    }
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(::GetObjectType(gone), 0u);
    // A temporary wrapper going at idle time leaves the handle alone.
    CBrush::FromHandle(static_cast<HBRUSH>(kept));
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_TRUE(::DeleteObject(kept));

    CBrush twice;
    EXPECT_TRUE(twice.CreateSolidBrush(kRed));
    EXPECT_FALSE(twice.CreateSolidBrush(kBlue));  // one handle per object
}

TEST_F(CDcTest, DcFromHandleAndDetach) {
    EXPECT_EQ(CDC::FromHandle(m_dc.m_hDC), &m_dc);
    CDC other;
    EXPECT_FALSE(other.Attach(nullptr));
    HDC hDC = m_dc.Detach();
    CDC* pTemporary = CDC::FromHandle(hDC);
    EXPECT_NE(pTemporary, &m_dc);
    EXPECT_EQ(pTemporary->GetSafeHdc(), hDC);
    CDC::DeleteTempMap();
    EXPECT_EQ(::GetPixel(hDC, 0, 0), kWhite);  // the DC outlived its wrapper
    ASSERT_TRUE(m_dc.Attach(hDC));
}

TEST_F(CDcTest, Draw3dRectGivesTheFarCornersToTheSecondColour) {
    m_dc.Draw3dRect(2, 2, 10, 10, kRed, kBlue);
    EXPECT_EQ(m_dc.GetPixel(2, 2), kRed);
    EXPECT_EQ(m_dc.GetPixel(10, 2), kRed);
    EXPECT_EQ(m_dc.GetPixel(11, 2), kBlue);  // top-right corner
    EXPECT_EQ(m_dc.GetPixel(2, 10), kRed);
    EXPECT_EQ(m_dc.GetPixel(2, 11), kBlue);  // bottom-left corner
    EXPECT_EQ(m_dc.GetPixel(11, 11), kBlue);
    EXPECT_EQ(m_dc.GetPixel(6, 6), kWhite);
    EXPECT_EQ(m_dc.GetPixel(12, 6), kWhite);
    EXPECT_EQ(m_dc.GetPixel(6, 12), kWhite);
    // FillSolidRect works through the background colour and leaves it set.
    EXPECT_EQ(m_dc.GetBkColor(), kBlue);
}

TEST_F(CDcTest, SolidFillsAndFrames) {
    m_dc.FillSolidRect(CRect(4, 4, 8, 8), kRed);
    EXPECT_EQ(m_dc.GetPixel(4, 4), kRed);
    EXPECT_EQ(m_dc.GetPixel(7, 7), kRed);
    EXPECT_EQ(m_dc.GetPixel(8, 8), kWhite);
    CBrush blue(kBlue);
    m_dc.FrameRect(CRect(0, 0, 16, 16), &blue);
    EXPECT_EQ(m_dc.GetPixel(0, 0), kBlue);
    EXPECT_EQ(m_dc.GetPixel(15, 15), kBlue);
    EXPECT_EQ(m_dc.GetPixel(1, 1), kWhite);
    m_dc.FillRect(CRect(1, 1, 3, 3), &blue);
    EXPECT_EQ(m_dc.GetPixel(2, 2), kBlue);
}

TEST_F(CDcTest, TextExtentOfAStringAndOfItsCharactersAgree) {
    const CString text(u"設定 OK");
    const CSize whole = m_dc.GetTextExtent(text);
    EXPECT_GT(whole.cx, 0);
    EXPECT_GT(whole.cy, 0);
    EXPECT_EQ(m_dc.GetTextExtent(text, text.GetLength()), whole);
    CRect calc(0, 0, 0, 0);
    m_dc.DrawText(text, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Width(), whole.cx);
    TEXTMETRIC tm{};
    ASSERT_TRUE(m_dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, whole.cy);
}

TEST(CFontTest, PointFontHeightFollowsTheScreensPixelsPerInch) {
    CClientDC screen(nullptr);
    const int dpi = screen.GetDeviceCaps(LOGPIXELSY);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, u"MS UI Gothic"));
    LOGFONT lf{};
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -((90 * dpi + 360) / 720));
    EXPECT_EQ(CString(lf.lfFaceName), CString(u"MS UI Gothic"));
}

// A window painting itself through CPaintDC; the picture lands on the screen.
class CPainted : public CWnd {
public:
    int m_nPaints = 0;
    CRect m_rcPaint;
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        ++m_nPaints;
        m_rcPaint = dc.m_ps.rcPaint;
        EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(0, 0x80, 0));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPainted, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(CPaintDCTest, PaintsTheInvalidAreaAndValidatesIt) {
    CPainted window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), u"painted", WS_POPUP | WS_VISIBLE, 20, 30, 50, 40,
                                nullptr, nullptr));
    window.UpdateWindow();
    EXPECT_EQ(window.m_nPaints, 1);
    EXPECT_EQ(window.m_rcPaint, CRect(0, 0, 50, 40));
    EXPECT_EQ(vela::screen::Pixel(20, 30), 0x008000u);
    EXPECT_EQ(vela::screen::Pixel(69, 69), 0x008000u);
    window.UpdateWindow();
    EXPECT_EQ(window.m_nPaints, 1);  // EndPaint validated it

    // A client DC draws straight away, clipped to the window.
    {
        CClientDC dc(&window);
        dc.FillSolidRect(-10, -10, 100, 100, RGB(0x80, 0, 0));
    }
    EXPECT_EQ(vela::screen::Pixel(20, 30), 0x800000u);
    EXPECT_NE(vela::screen::Pixel(19, 30), 0x800000u);
    window.DestroyWindow();
    CDC::DeleteTempMap();
}

}  // namespace
