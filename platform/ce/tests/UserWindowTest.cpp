// Window classes, creation and destruction, placement, focus and subclassing, checked as
// message sequences the way the platform's conformance tests do.
#include <windows.h>

#include <gtest/gtest.h>
#include <vela/MessageSpy.h>

#include <vector>

#include "MessageSequence.h"

using namespace vela::test;

namespace {

constexpr DWORD kMarker = 0xdeadbeef;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FailCreateProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    return -1;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<HWND> g_destroyOrder;
LRESULT CALLBACK DestroyOrderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    g_destroyOrder.push_back(hwnd);
    // Children are still whole while their parent hears of its destruction.
    EXPECT_TRUE(GetWindow(hwnd, GW_CHILD) == nullptr || IsWindow(GetWindow(hwnd, GW_CHILD)));
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class UserWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [name, proc, style] : {std::tuple{u"UwPlain", &PlainProc, 0u}, std::tuple{u"UwFail", &FailCreateProc, 0u},
                                     std::tuple{u"UwOrder", &DestroyOrderProc, 0u}}) {
      WNDCLASSW wc{};
      wc.style = style;
      wc.lpfnWndProc = proc;
      wc.cbWndExtra = 8;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = name;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
      ASSERT_NE(RegisterClassW(&wc), 0);
    }
  }
  void TearDown() override {
    for (HWND h : created_) {
      if (IsWindow(h)) {
        DestroyWindow(h);
      }
    }
    for (auto name : {u"UwPlain", u"UwFail", u"UwOrder"}) {
      EXPECT_TRUE(UnregisterClassW(name, GetModuleHandleW(nullptr)));
    }
  }
  HWND Make(LPCWSTR cls, DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr, UINT_PTR id = 0) {
    HWND h = CreateWindowExW(0, cls, u"title", style, x, y, cx, cy, parent, reinterpret_cast<HMENU>(id),
                             GetModuleHandleW(nullptr), nullptr);
    if (h != nullptr) {
      created_.push_back(h);
    }
    return h;
  }
  std::vector<HWND> created_;
};

TEST_F(UserWindowTest, ClassRegistrationRules) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = u"uwplain";  // names match without regard to case
  SetLastError(kMarker);
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  WNDCLASSW info{};
  ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"UWPLAIN", &info));
  EXPECT_EQ(info.lpfnWndProc, &PlainProc);
  EXPECT_EQ(info.cbWndExtra, 8);

  HWND h = Make(u"UwPlain", WS_POPUP, 0, 0, 10, 10);
  ASSERT_NE(h, nullptr);
  SetLastError(kMarker);
  EXPECT_FALSE(UnregisterClassW(u"UwPlain", GetModuleHandleW(nullptr)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));

  SetLastError(kMarker);
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  // The class style is shared by every window of the class.
  HWND other = Make(u"UwPlain", WS_POPUP, 0, 0, 10, 10);
  SetClassLongW(h, GCL_STYLE, CS_DBLCLKS);
  EXPECT_EQ(GetClassLongW(other, GCL_STYLE), static_cast<ULONG_PTR>(CS_DBLCLKS));
  SetClassLongW(h, GCL_STYLE, 0);

  WCHAR name[8];
  EXPECT_EQ(GetClassNameW(h, name, 4), 3);  // cut to the buffer, terminated
  EXPECT_EQ(std::u16string(name), u"UwP");
}

TEST_F(UserWindowTest, CreationSendsCreateSizeMoveThenShows) {
  vela::MessageSpy spy;
  spy.WatchThread();
  HWND h = Make(u"UwPlain", WS_POPUP | WS_VISIBLE, 10, 20, 100, 50);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(MatchesSequence(spy.Take(), {
                                              {WM_CREATE, kSent},
                                              {WM_SIZE, kSent | kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(100, 50)},
                                              {WM_MOVE, kSent | kLParam, 0, MAKELPARAM(10, 20)},
                                              {WM_SHOWWINDOW, kSent | kWParam, TRUE},
                                              {WM_WINDOWPOSCHANGING, kSent},
                                              {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE},
                                              {WM_SETFOCUS, kSent},
                                              {WM_WINDOWPOSCHANGED, kSent},
                                          }));
  EXPECT_EQ(GetActiveWindow(), h);
  EXPECT_EQ(GetFocus(), h);

  // A procedure that fails WM_CREATE gets WM_DESTROY and no window comes out.
  spy.Clear();
  SetLastError(kMarker);
  EXPECT_EQ(Make(u"UwFail", WS_POPUP, 0, 0, 10, 10), nullptr);
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_CREATE, kSent}, {WM_DESTROY, kSent}}));

  SetLastError(kMarker);
  EXPECT_EQ(Make(u"UwPlain", WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
}

TEST_F(UserWindowTest, CaptionAndBorderShrinkTheClientArea) {
  HWND h = Make(u"UwPlain", WS_OVERLAPPED | WS_CAPTION, 5, 6, 100, 80);
  ASSERT_NE(h, nullptr);
  RECT client;
  ASSERT_TRUE(GetClientRect(h, &client));
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(client.right, 98);
  EXPECT_EQ(client.bottom, 80 - 2 - caption);
  POINT p{0, 0};
  ClientToScreen(h, &p);
  EXPECT_EQ(p.x, 6);
  EXPECT_EQ(p.y, 7 + caption);

  HWND child = Make(u"UwPlain", WS_CHILD | WS_BORDER, 10, 10, 20, 20, h, 7);
  POINT q{0, 0};
  MapWindowPoints(child, h, &q, 1);
  EXPECT_EQ(q.x, 11);
  EXPECT_EQ(q.y, 11);
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetDlgItem(h, 7), child);
  EXPECT_EQ(GetParent(child), h);
  EXPECT_EQ(ChildWindowFromPoint(h, POINT{12, 12}), child);
  EXPECT_EQ(ChildWindowFromPoint(h, POINT{50, 50}), h);
}

TEST_F(UserWindowTest, DestroyTellsParentBeforeChildrenAndTakesOwnedPopups) {
  HWND parent = Make(u"UwOrder", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Make(u"UwOrder", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
  HWND grandchild = Make(u"UwOrder", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, child);
  HWND owned = Make(u"UwOrder", WS_POPUP, 0, 0, 10, 10, parent);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), parent);
  EXPECT_EQ(GetParent(owned), parent);  // a popup's "parent" is its owner
  g_destroyOrder.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  EXPECT_EQ(g_destroyOrder, (std::vector<HWND>{owned, parent, child, grandchild}));
  for (HWND h : {parent, child, grandchild, owned}) {
    EXPECT_FALSE(IsWindow(h));
  }
  SetLastError(kMarker);
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserWindowTest, SetWindowPosFlagsDecideSizeAndMoveMessages) {
  HWND h = Make(u"UwPlain", WS_POPUP, 0, 0, 40, 40);
  vela::MessageSpy spy;
  spy.Watch(h);

  ASSERT_TRUE(SetWindowPos(h, nullptr, 5, 6, 70, 80, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_WINDOWPOSCHANGING, kSent},
                                           {WM_WINDOWPOSCHANGED, kSent},
                                           {WM_MOVE, kSent | kLParam, 0, MAKELPARAM(5, 6)}}));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, 40);

  ASSERT_TRUE(SetWindowPos(h, nullptr, 100, 100, 70, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_WINDOWPOSCHANGING, kSent},
                                           {WM_WINDOWPOSCHANGED, kSent},
                                           {WM_SIZE, kSent | kLParam, 0, MAKELPARAM(70, 80)}}));
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 5);

  // Same place and size: the window hears of it, but no WM_SIZE or WM_MOVE.
  ASSERT_TRUE(SetWindowPos(h, nullptr, 5, 6, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_WINDOWPOSCHANGING, kSent}, {WM_WINDOWPOSCHANGED, kSent}}));

  ASSERT_TRUE(SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_NE(GetActiveWindow(), h);
  ASSERT_TRUE(SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE));
  EXPECT_FALSE(IsWindowVisible(h));

  // Showing a hidden window sends WM_SHOWWINDOW; showing it again sends nothing.
  spy.Clear();
  EXPECT_FALSE(ShowWindow(h, SW_SHOWNA));
  EXPECT_TRUE(ShowWindow(h, SW_SHOWNA));
  auto shown = Without(spy.Take(), {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_PAINT, WM_ERASEBKGND});
  EXPECT_TRUE(MatchesSequence(shown, {{WM_SHOWWINDOW, kSent | kWParam, TRUE}}));
}

TEST_F(UserWindowTest, ZOrderFollowsSetWindowPos) {
  HWND parent = Make(u"UwPlain", WS_POPUP, 0, 0, 100, 100);
  HWND a = Make(u"UwPlain", WS_CHILD, 0, 0, 10, 10, parent);
  HWND b = Make(u"UwPlain", WS_CHILD, 0, 0, 10, 10, parent);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);  // new children go below their siblings
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  std::vector<HWND> seen;
  HWND deep = Make(u"UwPlain", WS_CHILD, 0, 0, 5, 5, a);
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM l) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{a, deep, b}));
  EXPECT_TRUE(IsChild(parent, deep));
  EXPECT_FALSE(IsChild(deep, parent));
}

TEST_F(UserWindowTest, FocusEnableAndActivation) {
  HWND top = Make(u"UwPlain", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = Make(u"UwPlain", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND b = Make(u"UwPlain", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top);
  vela::MessageSpy spy;
  spy.WatchThread();
  EXPECT_EQ(SetFocus(a), top);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_TRUE(MatchesSequence(spy.Take(), {
                                              {WM_KILLFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(a), 0, top},
                                              {WM_SETFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(top), 0, a},
                                              {WM_KILLFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(b), 0, a},
                                              {WM_SETFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(a), 0, b},
                                          }));

  // Disabling the focus window takes the focus away before WM_ENABLE.
  EXPECT_FALSE(EnableWindow(b, FALSE));
  EXPECT_TRUE(MatchesSequence(spy.Take(), {{WM_KILLFOCUS, kSent, 0, 0, b}, {WM_ENABLE, kSent | kWParam, FALSE, 0, b}}));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(IsWindowEnabled(b));
  EXPECT_TRUE(EnableWindow(b, FALSE));  // already disabled: no message
  EXPECT_TRUE(spy.Take().empty());
  EXPECT_TRUE(EnableWindow(b, TRUE));

  // Hiding the focus child hands the focus to its parent.
  SetFocus(a);
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(GetFocus(), top);

  // A second top-level window takes activation; destroying it gives it back.
  HWND second = Make(u"UwPlain", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  EXPECT_EQ(GetActiveWindow(), second);
  spy.Clear();
  DestroyWindow(second);
  EXPECT_EQ(GetActiveWindow(), top);
  auto msgs = Without(spy.Take(), {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_PAINT, WM_ERASEBKGND, WM_MOVE, WM_SIZE});
  EXPECT_TRUE(MatchesSequence(msgs, {
                                        {WM_ACTIVATE, kSent | kWParam, WA_INACTIVE, 0, second},
                                        {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE, 0, top},
                                        {WM_KILLFOCUS, kSent | kOptional, 0, 0, second},
                                        {WM_SETFOCUS, kSent, 0, 0, top},
                                        {WM_DESTROY, kSent, 0, 0, second},
                                    }));
}

WNDPROC g_previous = nullptr;
std::vector<int> g_calls;
LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    g_calls.push_back(1);
  }
  return CallWindowProcW(g_previous, hwnd, msg, wParam, lParam);
}
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    g_calls.push_back(2);
    return 42;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(UserWindowTest, WindowProcedureSubclassingChainAndSlots) {
  HWND h = Make(u"UwPlain", WS_POPUP, 0, 0, 10, 10);
  SetWindowLongPtrW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc));
  g_previous = reinterpret_cast<WNDPROC>(SetWindowLongW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  EXPECT_EQ(g_previous, &CountingProc);  // the full pointer, never cut to 32 bits
  g_calls.clear();
  vela::MessageSpy spy;
  spy.Watch(h);
  EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 42);
  EXPECT_EQ(g_calls, (std::vector<int>{1, 2}));
  EXPECT_EQ(spy.Take().size(), 1u);  // the chain counts as one delivery

  SetWindowLongW(h, GWL_USERDATA, 0x1234);
  EXPECT_EQ(GetWindowLongW(h, GWL_USERDATA), 0x1234);
  EXPECT_EQ(SetWindowLongW(h, 4, 77), 0);
  EXPECT_EQ(GetWindowLongW(h, 4), 77);
  SetLastError(kMarker);
  EXPECT_EQ(GetWindowLongW(h, 6), 0);  // would read past the 8 extra bytes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  SetLastError(kMarker);
  EXPECT_EQ(GetWindowLongPtrW(h, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

  // Window text goes through WM_SETTEXT / WM_GETTEXT.
  ASSERT_TRUE(SetWindowTextW(h, u"abcdef"));
  EXPECT_EQ(GetWindowTextLengthW(h), 6);
  WCHAR text[4];
  EXPECT_EQ(GetWindowTextW(h, text, 4), 3);
  EXPECT_EQ(std::u16string(text), u"abc");
  EXPECT_EQ(FindWindowW(u"uwplain", u"abcdef"), h);
}

TEST_F(UserWindowTest, DialogSlotsHoldWholePointers) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = u"UwDialogLike";
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND h = Make(u"UwDialogLike", WS_POPUP, 0, 0, 10, 10);
  const LONG_PTR proc = reinterpret_cast<LONG_PTR>(&CountingProc);
  SetWindowLongW(h, DWL_DLGPROC, proc);
  SetWindowLongW(h, DWL_USER, -2);
  SetWindowLongW(h, DWL_MSGRESULT, static_cast<LONG_PTR>(0x123456789LL));
  EXPECT_EQ(GetWindowLongW(h, DWL_DLGPROC), proc);
  EXPECT_EQ(GetWindowLongPtrW(h, DWL_DLGPROC), proc);
  EXPECT_EQ(GetWindowLongW(h, DWL_USER), -2);
  EXPECT_EQ(GetWindowLongW(h, DWL_MSGRESULT), static_cast<LONG_PTR>(0x123456789LL));
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClassW(u"UwDialogLike", GetModuleHandleW(nullptr)));
}

HWND g_hookedWindow = nullptr;
bool g_hookSawNoMessageYet = false;
bool g_createSeen = false;
LRESULT CALLBACK HookedClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    g_createSeen = true;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}
HHOOK g_hook = nullptr;
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    g_hookedWindow = reinterpret_cast<HWND>(wParam);
    g_hookSawNoMessageYet = !g_createSeen;
    auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    // The class library attaches its object here, by subclassing before any message.
    EXPECT_EQ(cbt->lpcs->cx, 33);
    SetWindowLongPtrW(g_hookedWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedClassProc));
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(UserWindowTest, CreationHookRunsBeforeTheFirstMessage) {
  g_hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  g_createSeen = false;
  HWND h = Make(u"UwPlain", WS_POPUP, 0, 0, 33, 10);
  EXPECT_TRUE(UnhookWindowsHookEx(g_hook));
  EXPECT_EQ(g_hookedWindow, h);
  EXPECT_TRUE(g_hookSawNoMessageYet);
  EXPECT_TRUE(g_createSeen);  // WM_CREATE reached the procedure the hook put in
  SetLastError(kMarker);
  EXPECT_FALSE(UnhookWindowsHookEx(g_hook));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HOOK_HANDLE));
}

TEST(UserRectTest, RectangleArithmetic) {
  RECT a{0, 0, 10, 10};
  RECT b{5, 5, 20, 20};
  RECT r;
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right, 10);
  RECT far{30, 30, 40, 40};
  EXPECT_FALSE(IntersectRect(&r, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&r));
  RECT empty{3, 3, 3, 9};
  EXPECT_TRUE(UnionRect(&r, &a, &empty));  // an empty rectangle adds nothing
  EXPECT_TRUE(EqualRect(&r, &a));
  RECT top{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&r, &a, &top));
  EXPECT_EQ(r.top, 4);
  RECT middle{2, 2, 4, 4};
  EXPECT_TRUE(SubtractRect(&r, &a, &middle));  // a hole leaves the rectangle whole
  EXPECT_TRUE(EqualRect(&r, &a));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));  // right and bottom edges are outside
}

}  // namespace
