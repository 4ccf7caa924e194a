// The BUTTON class: what a button and its parent receive on taps and keys (owner-drawn and
// plain), double taps with and without CS_DBLCLKS, check boxes and radio groups, and the
// pixels of a push button's frame and of a disabled button's text.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "MessageSequence.h"
#include "vela/MessageSpy.h"

using vela::test::Event;
using vela::test::EventLog;
using vela::test::TapAt;
using vela::test::TestParent;

namespace {

constexpr int kId = 42;

class ControlButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vela::input::PumpUntilIdle();
    EventLog::Current().Take();
  }
  void TearDown() override { EventLog::Current().Take(); }

  vela::test::ManualClock clock_;
  TestParent parent_;
};

Event Command(HWND parent, WORD code) { return Event{parent, WM_COMMAND, MAKEWPARAM(kId, code)}; }
Event Draw(HWND parent, UINT action, UINT state) { return Event{parent, WM_DRAWITEM, kId, action, state}; }

TEST_F(ControlButtonTest, OwnerDrawTapSequence) {
  HWND p = parent_.hwnd();
  HWND button = parent_.Child(u"BUTTON", u"Go", BS_OWNERDRAW, kId, 10, 10, 80, 30);
  ASSERT_NE(nullptr, button);
  vela::input::PumpUntilIdle();
  TestParent::Record(button);
  EventLog::Current().Take();

  TapAt(button, 5, 5);
  std::vector<Event> expected = {
      {button, WM_LBUTTONDOWN, MK_LBUTTON},
      Draw(p, ODA_FOCUS, ODS_FOCUS),
      {button, BM_SETSTATE, TRUE},
      Draw(p, ODA_SELECT, ODS_SELECTED | ODS_FOCUS),
      {button, WM_LBUTTONUP, 0},
      {button, BM_SETSTATE, FALSE},
      Draw(p, ODA_SELECT, ODS_FOCUS),
      Command(p, BN_CLICKED),
  };
  EXPECT_EQ(expected, EventLog::Current().Take());
}

TEST_F(ControlButtonTest, TapSequenceSentAndPosted) {
  using namespace vela::test;
  HWND p = parent_.hwnd();
  HWND button = parent_.Child(u"BUTTON", u"Go", BS_PUSHBUTTON, kId, 10, 10, 80, 30);
  vela::input::PumpUntilIdle();
  vela::MessageSpy spy;
  spy.Watch(button);
  spy.Watch(p);
  TapAt(button, 5, 5);
  auto got = Without(spy.Take(), {WM_PAINT, WM_ERASEBKGND, WM_CTLCOLORBTN, WM_GETDLGCODE, WM_MOUSEACTIVATE, WM_ACTIVATE,
                                  WM_PARENTNOTIFY, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_GETTEXT, WM_GETTEXTLENGTH});
  EXPECT_TRUE(MatchesSequence(
      got, {
               {WM_LBUTTONDOWN, kPosted | kWParam, MK_LBUTTON, 0, button},
               {WM_KILLFOCUS, kSent | kOptional, 0, 0, p},
               {WM_SETFOCUS, kSent, 0, 0, button},
               {BM_SETSTATE, kSent | kWParam, TRUE, 0, button},
               {WM_LBUTTONUP, kPosted, 0, 0, button},
               {BM_SETSTATE, kSent | kWParam, FALSE, 0, button},
               {WM_CAPTURECHANGED, kSent | kOptional, 0, 0, button},
               {WM_COMMAND, kSent | kWParam | kLParam, MAKEWPARAM(kId, BN_CLICKED), reinterpret_cast<LPARAM>(button), p},
           }));
}

TEST_F(ControlButtonTest, MovingOutUnpressesAndLiftingOutsideDoesNotClick) {
  HWND p = parent_.hwnd();
  HWND button = parent_.Child(u"BUTTON", u"Go", BS_OWNERDRAW, kId, 10, 10, 80, 30);
  vela::input::PumpUntilIdle();
  POINT inside = vela::test::OnScreen(button, 5, 5);
  POINT outside = vela::test::OnScreen(button, 120, 5);
  vela::input::StylusDown(inside.x, inside.y);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(static_cast<LRESULT>(BST_PUSHED | BST_FOCUS), SendMessageW(button, BM_GETSTATE, 0, 0));
  EventLog::Current().Take();

  vela::input::StylusMove(outside.x, outside.y);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(static_cast<LRESULT>(BST_FOCUS), SendMessageW(button, BM_GETSTATE, 0, 0));
  vela::input::StylusMove(inside.x, inside.y);
  vela::input::PumpUntilIdle();
  EXPECT_EQ(static_cast<LRESULT>(BST_PUSHED | BST_FOCUS), SendMessageW(button, BM_GETSTATE, 0, 0));
  vela::input::StylusMove(outside.x, outside.y);
  vela::input::StylusUp(outside.x, outside.y);
  vela::input::PumpUntilIdle();

  std::vector<Event> expected = {
      Draw(p, ODA_SELECT, ODS_FOCUS),
      Draw(p, ODA_SELECT, ODS_SELECTED | ODS_FOCUS),
      Draw(p, ODA_SELECT, ODS_FOCUS),
  };
  EXPECT_EQ(expected, EventLog::Current().Take());
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ControlButtonTest, DoubleTapFollowsTheClassStyle) {
  HWND p = parent_.hwnd();
  HWND button = parent_.Child(u"BUTTON", u"Go", BS_OWNERDRAW, kId, 10, 10, 80, 30);
  vela::input::PumpUntilIdle();
  ULONG_PTR classStyle = GetClassLongW(button, GCL_STYLE);
  ASSERT_TRUE(classStyle & CS_DBLCLKS) << "the platform's BUTTON class has CS_DBLCLKS";

  auto commands = [&] {
    std::vector<WORD> codes;
    for (const Event& e : EventLog::Current().Take())
      if (e.hwnd == p && e.message == WM_COMMAND) codes.push_back(HIWORD(e.wParam));
    return codes;
  };

  TapAt(button, 5, 5);
  TapAt(button, 5, 5);
  EXPECT_EQ((std::vector<WORD>{BN_CLICKED, BN_DOUBLECLICKED}), commands());

  // Without CS_DBLCLKS (as themed buttons set it) two quick taps are two clicks.
  vela::clock::Advance(std::chrono::seconds(2));
  SetClassLongW(button, GCL_STYLE, static_cast<LONG_PTR>(classStyle & ~static_cast<ULONG_PTR>(CS_DBLCLKS)));
  TapAt(button, 5, 5);
  TapAt(button, 5, 5);
  EXPECT_EQ((std::vector<WORD>{BN_CLICKED, BN_CLICKED}), commands());
  SetClassLongW(button, GCL_STYLE, static_cast<LONG_PTR>(classStyle));
}

TEST_F(ControlButtonTest, PlainPushButtonDoubleTapIsTwoClicks) {
  HWND p = parent_.hwnd();
  HWND button = parent_.Child(u"BUTTON", u"Go", BS_PUSHBUTTON, kId, 10, 10, 80, 30);
  vela::input::PumpUntilIdle();
  TapAt(button, 5, 5);
  TapAt(button, 5, 5);
  int clicks = 0;
  for (const Event& e : EventLog::Current().Take())
    if (e.hwnd == p && e.message == WM_COMMAND && e.wParam == MAKEWPARAM(kId, BN_CLICKED)) ++clicks;
  EXPECT_EQ(2, clicks) << "without BS_NOTIFY a double tap on a push button presses it again";
}

TEST_F(ControlButtonTest, SpaceAndClickMessagePress) {
  HWND p = parent_.hwnd();
  HWND button = parent_.Child(u"BUTTON", u"Go", BS_PUSHBUTTON, kId, 10, 10, 80, 30);
  vela::input::PumpUntilIdle();
  SetFocus(button);
  vela::input::KeyDown(VK_SPACE);
  vela::input::PumpUntilIdle();
  EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  vela::input::KeyUp(VK_SPACE);
  vela::input::PumpUntilIdle();
  SendMessageW(button, BM_CLICK, 0, 0);
  int clicks = 0;
  for (const Event& e : EventLog::Current().Take())
    if (e == Command(p, BN_CLICKED)) ++clicks;
  EXPECT_EQ(2, clicks);
  EXPECT_FALSE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(ControlButtonTest, CheckBoxesAndRadioGroups) {
  HWND check = parent_.Child(u"BUTTON", u"Check", BS_AUTOCHECKBOX, 1, 10, 10, 100, 20);
  HWND a = parent_.Child(u"BUTTON", u"A", BS_AUTORADIOBUTTON | WS_GROUP, 2, 10, 40, 100, 20);
  HWND b = parent_.Child(u"BUTTON", u"B", BS_AUTORADIOBUTTON, 3, 10, 60, 100, 20);
  HWND other = parent_.Child(u"BUTTON", u"Other", BS_AUTORADIOBUTTON | WS_GROUP, 4, 10, 80, 100, 20);
  vela::input::PumpUntilIdle();

  TapAt(check, 3, 3);
  EXPECT_EQ(BST_CHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
  TapAt(check, 3, 3);
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));

  SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
  TapAt(a, 3, 3);
  TapAt(b, 3, 3);
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(a, BM_GETCHECK, 0, 0));
  EXPECT_EQ(BST_CHECKED, SendMessageW(b, BM_GETCHECK, 0, 0));
  EXPECT_EQ(BST_CHECKED, SendMessageW(other, BM_GETCHECK, 0, 0)) << "another group is left alone";
  // A plain check box ignores the indeterminate state.
  SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(BST_CHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
}

TEST_F(ControlButtonTest, PushButtonFrameAndDisabledTextPixels) {
  HWND button = parent_.Child(u"BUTTON", u"MMMM", BS_DEFPUSHBUTTON, kId, 20, 20, 80, 30);
  vela::input::PumpUntilIdle();
  POINT o = vela::test::OnScreen(button, 0, 0);
  const std::uint32_t black = 0x000000;
  const std::uint32_t face = GetSysColor(COLOR_BTNFACE);
  auto rgb = [](COLORREF c) { return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
  // Two black lines around a default button, then the 3-D edge, then the face.
  EXPECT_EQ(black, vela::screen::Pixel(o.x, o.y + 15));
  EXPECT_EQ(black, vela::screen::Pixel(o.x + 1, o.y + 15));
  EXPECT_EQ(rgb(GetSysColor(COLOR_BTNHIGHLIGHT)), vela::screen::Pixel(o.x + 2, o.y + 15));
  EXPECT_EQ(rgb(GetSysColor(COLOR_BTNSHADOW)), vela::screen::Pixel(o.x + 77, o.y + 15));
  EXPECT_EQ(black, vela::screen::Pixel(o.x + 79, o.y + 15));
  EXPECT_EQ(rgb(face), vela::screen::Pixel(o.x + 5, o.y + 5));

  auto countColor = [&](std::uint32_t color) {
    int n = 0;
    for (int y = 4; y < 26; ++y)
      for (int x = 4; x < 76; ++x)
        if (vela::screen::Pixel(o.x + x, o.y + y) == color) ++n;
    return n;
  };
  const std::uint32_t text = rgb(GetSysColor(COLOR_BTNTEXT));
  const std::uint32_t gray = rgb(GetSysColor(COLOR_GRAYTEXT));
  EXPECT_GT(countColor(text), 10);
  EXPECT_EQ(0, countColor(gray));
  EnableWindow(button, FALSE);
  vela::input::PumpUntilIdle();
  EXPECT_GT(countColor(gray), 10) << "disabled text is grey";
  EXPECT_EQ(0, countColor(text));
}

}  // namespace
