// STATIC and EDIT: taps on a notifying static, typing into an edit with its notifications,
// keys and limits, and the editing rules of the text buffer behind the edit.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/EditBuffer.h"

using vela::controls::EditBuffer;
using vela::test::EventLog;
using vela::test::TapAt;
using vela::test::TestParent;

namespace {

std::vector<WORD> CommandsFrom(HWND parent, WORD id) {
  std::vector<WORD> codes;
  for (const vela::test::Event& e : EventLog::Current().Take())
    if (e.hwnd == parent && e.message == WM_COMMAND && LOWORD(e.wParam) == id) codes.push_back(HIWORD(e.wParam));
  return codes;
}

std::u16string TextOf(HWND hwnd) {
  WCHAR text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

class ControlStaticEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vela::input::PumpUntilIdle();
    EventLog::Current().Take();
  }
  vela::test::ManualClock clock_;
  TestParent parent_;
};

TEST_F(ControlStaticEditTest, StaticNotifiesOnlyWithSsNotify) {
  HWND quiet = parent_.Child(u"STATIC", u"quiet", SS_LEFT, 10, 0, 0, 100, 20);
  HWND notifying = parent_.Child(u"STATIC", u"tap me", SS_CENTER | SS_NOTIFY, 11, 0, 30, 100, 20);
  vela::input::PumpUntilIdle();
  EventLog::Current().Take();
  TapAt(quiet, 5, 5);
  EXPECT_TRUE(CommandsFrom(parent_.hwnd(), 10).empty());
  TapAt(notifying, 5, 5);
  EXPECT_EQ(std::vector<WORD>{STN_CLICKED}, CommandsFrom(parent_.hwnd(), 11));
  EXPECT_EQ(static_cast<LRESULT>(DLGC_STATIC), SendMessageW(notifying, WM_GETDLGCODE, 0, 0));
}

TEST_F(ControlStaticEditTest, StaticDrawsItsTextInTheParentsColour) {
  HWND label = parent_.Child(u"STATIC", u"MMMM", SS_LEFT, 12, 10, 10, 100, 20);
  vela::input::PumpUntilIdle();
  POINT o = vela::test::OnScreen(label, 0, 0);
  int dark = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x)
      if (vela::screen::Pixel(o.x + x, o.y + y) == 0x000000) ++dark;
  EXPECT_GT(dark, 10);
  // Nothing is drawn right of the text.
  EXPECT_NE(0x000000u, vela::screen::Pixel(o.x + 95, o.y + 10));
}

TEST_F(ControlStaticEditTest, StaticTakesItsColoursFromTheParent) {
  HBRUSH red = CreateSolidBrush(RGB(0xFF, 0, 0));
  TestParent::ColorBrush() = red;
  HWND label = parent_.Child(u"STATIC", u"MMMM", SS_LEFT, 13, 10, 10, 100, 20);
  vela::input::PumpUntilIdle();
  POINT o = vela::test::OnScreen(label, 0, 0);
  int white = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x)
      if (vela::screen::Pixel(o.x + x, o.y + y) == 0xFFFFFF) ++white;
  EXPECT_GT(white, 10) << "text in the parent's colour";
  EXPECT_EQ(0xFF0000u, vela::screen::Pixel(o.x + 95, o.y + 15)) << "background from the parent's brush";
  TestParent::ColorBrush() = nullptr;
  DestroyWindow(label);
  DeleteObject(red);
}

TEST_F(ControlStaticEditTest, FocusedEditShowsItsCaretAfterTheText) {
  HWND edit = parent_.Child(u"EDIT", u"", ES_LEFT | ES_AUTOHSCROLL, 23, 10, 40, 120, 20);
  vela::input::PumpUntilIdle();
  POINT o = vela::test::OnScreen(edit, 0, 0);
  auto darkColumns = [&] {
    std::vector<int> columns;
    for (int x = 0; x < 120; ++x) {
      int dark = 0;
      for (int y = 0; y < 20; ++y)
        if (vela::screen::Pixel(o.x + x, o.y + y) == 0x000000) ++dark;
      if (dark > 0) columns.push_back(x);
    }
    return columns;
  };
  EXPECT_TRUE(darkColumns().empty()) << "an empty edit without focus draws nothing dark";
  SetFocus(edit);
  vela::input::PumpUntilIdle();
  std::vector<int> caret = darkColumns();
  ASSERT_EQ(1u, caret.size()) << "one steady caret line";
  vela::input::TypeText(u"W");
  vela::input::PumpUntilIdle();
  std::vector<int> after = darkColumns();
  ASSERT_FALSE(after.empty());
  EXPECT_GT(after.back(), caret.front() + 3) << "the caret moved past the character";
}

TEST_F(ControlStaticEditTest, TypingNotifiesAndEditsTheText) {
  HWND p = parent_.hwnd();
  HWND edit = parent_.Child(u"EDIT", u"", ES_LEFT | ES_AUTOHSCROLL, 20, 10, 10, 120, 20);
  vela::input::PumpUntilIdle();
  EventLog::Current().Take();

  TapAt(edit, 3, 3);
  EXPECT_EQ(edit, GetFocus());
  EXPECT_EQ(std::vector<WORD>{EN_SETFOCUS}, CommandsFrom(p, 20));

  vela::input::TypeText(u"ab");
  vela::input::PumpUntilIdle();
  EXPECT_EQ(u"ab", TextOf(edit));
  EXPECT_EQ((std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}), CommandsFrom(p, 20));

  vela::input::KeyPress(VK_LEFT);
  vela::input::TypeText(u"X");
  vela::input::KeyPress(VK_HOME);
  vela::input::KeyPress(VK_DELETE);
  vela::input::KeyPress(VK_END);
  vela::input::KeyPress(VK_BACK);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(u"X", TextOf(edit));

  DWORD start = 9, end = 9;
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(0u, start);
  EXPECT_EQ(1u, end);
  SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"日本"));
  EXPECT_EQ(u"日本", TextOf(edit));
  EXPECT_EQ(1, SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
  EventLog::Current().Take();

  SetFocus(p);
  EXPECT_EQ(std::vector<WORD>{EN_KILLFOCUS}, CommandsFrom(p, 20));
}

TEST_F(ControlStaticEditTest, LimitNumberAndReadOnly) {
  HWND p = parent_.hwnd();
  HWND edit = parent_.Child(u"EDIT", u"", ES_NUMBER | ES_AUTOHSCROLL, 21, 10, 10, 120, 20);
  vela::input::PumpUntilIdle();
  SendMessageW(edit, EM_LIMITTEXT, 3, 0);
  SetFocus(edit);
  EventLog::Current().Take();
  vela::input::TypeText(u"1a2345");
  vela::input::PumpUntilIdle();
  EXPECT_EQ(u"123", TextOf(edit));
  std::vector<WORD> codes = CommandsFrom(p, 21);
  EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), static_cast<WORD>(EN_MAXTEXT)));

  SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
  vela::input::TypeText(u"9");
  vela::input::KeyPress(VK_BACK);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(u"123", TextOf(edit));
  EXPECT_TRUE(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL);
}

TEST_F(ControlStaticEditTest, WithoutAutoScrollTheTextStopsAtTheWidth) {
  HWND p = parent_.hwnd();
  HWND edit = parent_.Child(u"EDIT", u"", ES_LEFT, 24, 10, 10, 40, 20);
  vela::input::PumpUntilIdle();
  SetFocus(edit);
  EventLog::Current().Take();
  vela::input::TypeText(u"MMMMMMMMMMMM");
  vela::input::PumpUntilIdle();
  std::u16string text = TextOf(edit);
  EXPECT_FALSE(text.empty());
  EXPECT_LT(text.size(), 12u);
  std::vector<WORD> codes = CommandsFrom(p, 24);
  EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), static_cast<WORD>(EN_MAXTEXT)));
}

TEST_F(ControlStaticEditTest, PasswordShowsOnlyTheMaskButKeepsTheText) {
  HWND edit = parent_.Child(u"EDIT", u"secret", ES_PASSWORD | ES_AUTOHSCROLL, 22, 10, 10, 120, 20);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(u"secret", TextOf(edit));
  EXPECT_EQ(u'*', SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
}

TEST(EditBufferTest, SelectionRules) {
  EditBuffer b;
  b.setText(u"hello");
  b.setSelection(1, 3);
  EXPECT_EQ(1u, b.selectionStart());
  EXPECT_EQ(3u, b.selectionEnd());
  b.setSelection(4, 2);  // reversed: the caret is at the end given
  EXPECT_EQ(2u, b.selectionStart());
  EXPECT_EQ(2u, b.caret());
  b.setSelection(0, -1);
  EXPECT_EQ(5u, b.selectionEnd());
  b.setSelection(-1, 0);
  EXPECT_FALSE(b.hasSelection());
  b.setSelection(2, 100);
  EXPECT_EQ(5u, b.selectionEnd()) << "clamped to the text";
}

TEST(EditBufferTest, LimitCutsInsertionsButKeepsLongerText) {
  EditBuffer b;
  b.setText(u"abcdef");
  b.setLimit(4);
  b.moveCaret(6, false);
  EXPECT_FALSE(b.replaceSelection(u"x"));
  EXPECT_EQ(u"abcdef", b.text());
  b.setSelection(0, 4);
  EXPECT_FALSE(b.replaceSelection(u"123"));
  EXPECT_EQ(u"ef", b.text().substr(b.text().size() - 2));
  EXPECT_EQ(4u, b.text().size());
  b.setLimit(0);
  EXPECT_EQ(EditBuffer::kNoLimit, b.limit());
}

TEST(EditBufferTest, SurrogatePairsStayWhole) {
  EditBuffer b;
  b.setText(u"a\U00020B9Fb");  // a kanji outside the BMP
  b.moveCaret(3, false);
  EXPECT_TRUE(b.deleteBackward());
  EXPECT_EQ(u"ab", b.text());
  b.setText(u"\U00020B9F");
  EXPECT_TRUE(b.deleteForward());
  EXPECT_TRUE(b.text().empty());
  b.setLimit(2);
  EXPECT_FALSE(b.replaceSelection(u"x\U00020B9F"));
  EXPECT_EQ(u"x", b.text()) << "the limit never splits a pair";
  EXPECT_FALSE(b.deleteForward());
}

}  // namespace
