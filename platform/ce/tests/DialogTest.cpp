// Dialogs from in-memory templates: creation, fonts and dialog units, WM_INITDIALOG and the
// first focus, keyboard navigation, the default button, the modal loop with its owner, and
// message boxes answered by keys and taps from a script thread.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include <fstream>
#include <iterator>

#include "ControlTestSupport.h"
#include "DialogTemplateBuilder.h"
#include "ScopedTerminalRoot.h"
#include "debug/DebugChannel.h"

using vela::test::DialogTemplateBuilder;

namespace {

constexpr WORD kName = 101;
constexpr WORD kAge = 102;
constexpr WORD kLabel = 103;
constexpr WORD kApply = 104;
constexpr int kPoke = WM_APP + 1;

struct Recorded {
  int initCount = 0;
  HWND initFocus = nullptr;
  LPARAM initParam = 0;
  std::vector<WPARAM> commands;
  BOOL initResult = TRUE;
  int initFocusId = 0;  // a control the procedure focuses itself in WM_INITDIALOG
  std::function<void(HWND)> onPoke;  // runs inside the dialog's loop
  bool endOnCommand = true;
};

Recorded* g_recorded = nullptr;

INT_PTR CALLBACK RecordingDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ++g_recorded->initCount;
      g_recorded->initFocus = reinterpret_cast<HWND>(wParam);
      g_recorded->initParam = lParam;
      if (g_recorded->onPoke) PostMessageW(hwnd, kPoke, 0, 0);
      if (g_recorded->initFocusId) SetFocus(GetDlgItem(hwnd, g_recorded->initFocusId));
      return g_recorded->initResult;
    case kPoke:
      g_recorded->onPoke(hwnd);
      return TRUE;
    case WM_COMMAND:
      g_recorded->commands.push_back(wParam);
      if (g_recorded->endOnCommand && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        EndDialog(hwnd, LOWORD(wParam) == IDOK ? 77 : 88);
      return TRUE;
    default:
      return FALSE;
  }
}

DialogTemplateBuilder PersonDialog(bool extended = false) {
  DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 10, 10, 140, 90, u"Person");
  b.font(9, u"MS UI Gothic").extended(extended);
  b.control(0x82, u"Name", kLabel, SS_LEFT, 4, 6, 30, 10);
  b.control(0x81, u"", kName, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 40, 4, 90, 12);
  b.control(0x81, u"", kAge, ES_NUMBER | WS_TABSTOP | WS_BORDER, 40, 20, 40, 12);
  b.control(0x80, u"Apply", kApply, BS_PUSHBUTTON | WS_TABSTOP, 4, 70, 40, 14);
  b.control(0x80, u"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 50, 70, 40, 14);
  b.control(0x80, u"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 96, 70, 40, 14);
  return b;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_recorded = &recorded_;
    vela::input::PumpUntilIdle();
  }
  void TearDown() override {
    vela::input::PumpUntilIdle();
    g_recorded = nullptr;
  }

  HWND Modeless(DialogTemplateBuilder& b, HWND parent = nullptr) {
    HWND dlg = CreateDialogIndirectParamW(nullptr, b.build(), parent, RecordingDlgProc, 1234);
    if (dlg) {
      ShowWindow(dlg, SW_SHOW);
      vela::input::PumpUntilIdle();
    }
    return dlg;
  }

  vela::test::Watchdog watchdog_;
  vela::test::ManualClock clock_;
  Recorded recorded_;
};

TEST_F(DialogTest, CreatesControlsInitialisesAndFocusesTheFirstTabStop) {
  for (bool extended : {false, true}) {
    SCOPED_TRACE(extended ? "DLGTEMPLATEEX" : "DLGTEMPLATE");
    recorded_ = Recorded{};
    DialogTemplateBuilder b = PersonDialog(extended);
    HWND dlg = Modeless(b);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(1, recorded_.initCount);
    EXPECT_EQ(1234, recorded_.initParam);
    HWND name = GetDlgItem(dlg, kName);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(name, recorded_.initFocus);
    EXPECT_EQ(name, GetFocus());
    EXPECT_EQ(static_cast<int>(kAge), GetDlgCtrlID(GetDlgItem(dlg, kAge)));
    WCHAR cls[16] = {};
    GetClassNameW(dlg, cls, 16);
    EXPECT_EQ(std::u16string(u"#32770"), cls);
    // Every control got the dialog's font.
    auto font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendDlgItemMessageW(dlg, kApply, WM_GETFONT, 0, 0)));
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendDlgItemMessageW(dlg, kLabel, WM_GETFONT, 0, 0)));
    DestroyWindow(dlg);
  }
}

TEST_F(DialogTest, DialogUnitsFollowTheTemplateFont) {
  DialogTemplateBuilder b = PersonDialog();
  HWND dlg = Modeless(b);
  ASSERT_NE(nullptr, dlg);
  // 9 points at the screen's resolution is the font's character height in pixels.
  HDC hdc = GetDC(dlg);
  int dpi = GetDeviceCaps(hdc, LOGPIXELSY);
  HGDIOBJ old = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(dlg, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  SelectObject(hdc, old);
  ReleaseDC(dlg, hdc);
  int wanted = (9 * dpi + 36) / 72;
  EXPECT_NEAR(wanted, tm.tmHeight - tm.tmInternalLeading, 2) << "dpi " << dpi;

  // Controls sit where MapDialogRect puts their template rectangles.
  RECT expected{40, 20, 80, 32};
  ASSERT_TRUE(MapDialogRect(dlg, &expected));
  RECT actual;
  GetWindowRect(GetDlgItem(dlg, kAge), &actual);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&actual), 2);
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right, actual.right);
  EXPECT_EQ(expected.bottom, actual.bottom);
  RECT client;
  GetClientRect(dlg, &client);
  RECT size{0, 0, 140, 90};
  MapDialogRect(dlg, &size);
  EXPECT_EQ(size.right, client.right);
  EXPECT_EQ(size.bottom, client.bottom);
  DestroyWindow(dlg);

  SetLastError(0);
  RECT r{};
  EXPECT_FALSE(MapDialogRect(nullptr, &r));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
  EXPECT_NE(0, LOWORD(GetDialogBaseUnits()));
}

TEST_F(DialogTest, WindowsOfTheDialogClassUseTheDialogManager) {
  HWND made = CreateWindowExW(0, WC_DIALOG, u"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(DefDlgProcW), reinterpret_cast<WNDPROC>(GetWindowLongPtrW(made, GWL_WNDPROC)));
  EXPECT_EQ(DLGWINDOWEXTRA, static_cast<int>(GetClassLongW(made, GCL_CBWNDEXTRA)));
  DestroyWindow(made);
}

TEST_F(DialogTest, InitDialogReturningFalseKeepsTheFocusItChose) {
  recorded_.initResult = FALSE;
  recorded_.initFocusId = kAge;
  DialogTemplateBuilder b = PersonDialog();
  HWND dlg = Modeless(b);
  ASSERT_NE(nullptr, dlg);
  EXPECT_EQ(GetDlgItem(dlg, kAge), GetFocus());
  DestroyWindow(dlg);
}

TEST_F(DialogTest, ItemTextAndNumbers) {
  DialogTemplateBuilder b = PersonDialog();
  HWND dlg = Modeless(b);
  ASSERT_NE(nullptr, dlg);
  EXPECT_TRUE(SetDlgItemTextW(dlg, kName, u"山田"));
  WCHAR text[16];
  EXPECT_EQ(2u, GetDlgItemTextW(dlg, kName, text, 16));
  EXPECT_EQ(std::u16string(u"山田"), text);
  EXPECT_EQ(1u, GetDlgItemTextW(dlg, kName, text, 2)) << "cut to the buffer, terminated";

  BOOL ok = FALSE;
  EXPECT_TRUE(SetDlgItemInt(dlg, kLabel, static_cast<UINT>(-42), TRUE));
  EXPECT_EQ(static_cast<UINT>(-42), GetDlgItemInt(dlg, kLabel, &ok, TRUE));
  EXPECT_TRUE(ok);
  EXPECT_EQ(0u, GetDlgItemInt(dlg, kLabel, &ok, FALSE)) << "a sign is not a digit when unsigned";
  EXPECT_FALSE(ok);
  SetDlgItemTextW(dlg, kLabel, u"4294967296");
  GetDlgItemInt(dlg, kLabel, &ok, FALSE);
  EXPECT_FALSE(ok) << "too large";
  SetDlgItemTextW(dlg, kLabel, u" 12 ");
  EXPECT_EQ(12u, GetDlgItemInt(dlg, kLabel, &ok, FALSE));
  EXPECT_TRUE(ok);
  SetDlgItemTextW(dlg, kLabel, u"12x");
  GetDlgItemInt(dlg, kLabel, &ok, TRUE);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(SetDlgItemTextW(dlg, 999, u"none"));
  DestroyWindow(dlg);
}

TEST_F(DialogTest, TabEnterEscapeAndDefaultButton) {
  recorded_.endOnCommand = false;
  DialogTemplateBuilder b = PersonDialog();
  HWND dlg = Modeless(b);
  ASSERT_NE(nullptr, dlg);
  auto press = [&](UINT key) {
    vela::input::KeyPress(key);
    // A modeless dialog's keys go through IsDialogMessage in the application's loop.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(dlg, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    vela::input::PumpUntilIdle();
  };
  EXPECT_EQ(GetDlgItem(dlg, kName), GetFocus());
  press(VK_TAB);
  EXPECT_EQ(GetDlgItem(dlg, kAge), GetFocus());
  EnableWindow(GetDlgItem(dlg, kApply), FALSE);
  press(VK_TAB);
  EXPECT_EQ(GetDlgItem(dlg, IDOK), GetFocus()) << "disabled controls are skipped";
  press(VK_TAB);
  press(VK_TAB);
  EXPECT_EQ(GetDlgItem(dlg, kName), GetFocus()) << "Tab wraps around; the static is no tab stop";

  EXPECT_EQ(static_cast<LRESULT>(MAKELPARAM(IDOK, DC_HASDEFID)), SendMessageW(dlg, DM_GETDEFID, 0, 0));
  recorded_.commands.clear();
  press(VK_RETURN);
  press(VK_ESCAPE);
  EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED), MAKEWPARAM(IDCANCEL, BN_CLICKED)}), recorded_.commands);

  // Another default: Enter clicks it, and it takes the default look.
  EnableWindow(GetDlgItem(dlg, kApply), TRUE);
  SendMessageW(dlg, DM_SETDEFID, kApply, 0);
  EXPECT_EQ(static_cast<LONG_PTR>(BS_DEFPUSHBUTTON), GetWindowLongW(GetDlgItem(dlg, kApply), GWL_STYLE) & BS_TYPEMASK);
  EXPECT_EQ(static_cast<LONG_PTR>(BS_PUSHBUTTON), GetWindowLongW(GetDlgItem(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK);
  recorded_.commands.clear();
  press(VK_RETURN);
  EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(kApply, BN_CLICKED)}, recorded_.commands);
  DestroyWindow(dlg);
}

TEST_F(DialogTest, ModalLoopDisablesTheOwnerAndReturnsTheResult) {
  vela::test::TestParent owner;
  bool ownerEnabledInside = true;
  recorded_.onPoke = [&](HWND dlg) {
    ownerEnabledInside = IsWindowEnabled(owner.hwnd()) != FALSE;
    SetDlgItemTextW(dlg, kName, u"abc");
    vela::input::KeyPress(VK_RETURN);  // the default button, OK
  };
  DialogTemplateBuilder b = PersonDialog();
  INT_PTR result = DialogBoxIndirectParamW(nullptr, b.build(), owner.hwnd(), RecordingDlgProc, 5);
  EXPECT_EQ(77, result);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_EQ(1, recorded_.initCount);
}

TEST_F(DialogTest, QuitDuringAModalLoopIsPostedAgain) {
  recorded_.onPoke = [](HWND) { PostQuitMessage(3); };
  DialogTemplateBuilder b = PersonDialog();
  INT_PTR result = DialogBoxIndirectParamW(nullptr, b.build(), nullptr, RecordingDlgProc, 0);
  EXPECT_EQ(0, result);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(3u, msg.wParam);
}

TEST_F(DialogTest, BadTemplatesFail) {
  SetLastError(0);
  EXPECT_EQ(-1, DialogBoxParamW(nullptr, MAKEINTRESOURCEW(31999), nullptr, RecordingDlgProc, 0));
  EXPECT_NE(0u, GetLastError());
  // A control of an unknown class fails the dialog unless DS_NOFAILCREATE.
  DialogTemplateBuilder b(WS_POPUP, 0, 0, 50, 50);
  b.add({static_cast<DWORD>(WS_CHILD), 0, 0, 10, 10, 5, 0, u"NoSuchClass", u""});
  EXPECT_EQ(nullptr, CreateDialogIndirectParamW(nullptr, b.build(), nullptr, RecordingDlgProc, 0));
  DialogTemplateBuilder tolerant(WS_POPUP | DS_NOFAILCREATE, 0, 0, 50, 50);
  tolerant.add({static_cast<DWORD>(WS_CHILD), 0, 0, 10, 10, 5, 0, u"NoSuchClass", u""});
  HWND dlg = CreateDialogIndirectParamW(nullptr, tolerant.build(), nullptr, RecordingDlgProc, 0);
  EXPECT_NE(nullptr, dlg);
  DestroyWindow(dlg);
  SetLastError(0);
  EXPECT_FALSE(EndDialog(nullptr, 1));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

// Answers the next message box from another thread, as a script would.
class MessageBoxAnswer {
 public:
  explicit MessageBoxAnswer(std::function<void(HWND box)> answer) {
    DWORD ui = GetCurrentThreadId();
    thread_ = std::thread([ui, answer] {
      HWND box = nullptr;
      for (int i = 0; i < 200 && box == nullptr; ++i) {
        vela::input::WaitUntilIdle(ui, std::chrono::milliseconds(2000));
        box = FindWindowW(u"#32770", nullptr);
        if (box == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      if (box) answer(box);
    });
  }
  ~MessageBoxAnswer() { thread_.join(); }
  MessageBoxAnswer(const MessageBoxAnswer&) = delete;
  MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

 private:
  std::thread thread_;
};

TEST_F(DialogTest, MessageBoxAnswersKeysAndTaps) {
  {
    MessageBoxAnswer answer([](HWND) { vela::input::KeyPress(VK_RETURN); });
    EXPECT_EQ(IDNO, MessageBoxW(nullptr, u"Save the changes?", u"Question", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  }
  {
    MessageBoxAnswer answer([](HWND) { vela::input::KeyPress(VK_ESCAPE); });
    EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, u"Continue?", u"Question", MB_OKCANCEL));
  }
  {
    MessageBoxAnswer answer([](HWND) { vela::input::KeyPress(VK_ESCAPE); });
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, u"Done.", u"Info", MB_OK | MB_ICONINFORMATION));
  }
  {
    MessageBoxAnswer answer([](HWND box) {
      RECT r;
      GetWindowRect(GetDlgItem(box, IDYES), &r);
      vela::input::Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    EXPECT_EQ(IDYES, MessageBoxW(nullptr, u"Delete?", u"Warning", MB_YESNOCANCEL | MB_ICONWARNING));
  }
  EXPECT_EQ(nullptr, FindWindowW(u"#32770", nullptr)) << "the box is gone";
}

TEST_F(DialogTest, MessageBoxTextGoesToTheDebugChannel) {
  vela::testing::ScopedTerminalRoot root;
  std::string log = root.Host("debug.log");
  {
    vela::testing::ScopedEnv channel("VELA_DEBUG", log);
    vela::debug::ResetDebugChannelForTests();
    MessageBoxAnswer answer([](HWND) { vela::input::KeyPress(VK_RETURN); });
    EXPECT_EQ(IDOK, MessageBoxW(nullptr, u"在庫がありません", u"確認", MB_OK | MB_ICONERROR));
  }
  vela::debug::ResetDebugChannelForTests();
  std::ifstream in(log);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(std::string::npos, text.find("在庫がありません")) << text;
  EXPECT_NE(std::string::npos, text.find("確認")) << text;
}

TEST_F(DialogTest, ArrowKeysMoveAndCheckWithinARadioGroup) {
  recorded_.endOnCommand = false;
  DialogTemplateBuilder b(WS_POPUP | WS_VISIBLE, 0, 0, 100, 60);
  b.control(0x80, u"A", 1, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 4, 4, 40, 10);
  b.control(0x80, u"B", 2, BS_AUTORADIOBUTTON, 4, 16, 40, 10);
  b.control(0x80, u"C", 3, BS_AUTORADIOBUTTON, 4, 28, 40, 10);
  b.control(0x80, u"OK", IDOK, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 50, 40, 40, 14);
  HWND dlg = Modeless(b);
  ASSERT_NE(nullptr, dlg);
  CheckRadioButton(dlg, 1, 3, 1);
  SetFocus(GetDlgItem(dlg, 1));
  auto press = [&](UINT key) {
    vela::input::KeyPress(key);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      if (!IsDialogMessageW(dlg, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
  };
  press(VK_DOWN);
  EXPECT_EQ(GetDlgItem(dlg, 2), GetFocus());
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(dlg, 2));
  EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(dlg, 1));
  press(VK_UP);
  press(VK_UP);
  EXPECT_EQ(GetDlgItem(dlg, 3), GetFocus()) << "wraps inside the group, never to OK";
  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(dlg, 3));
  DestroyWindow(dlg);
}

TEST_F(DialogTest, GroupBoxesStayBelowTheControlsTheyFrame) {
  DialogTemplateBuilder b(WS_POPUP | WS_VISIBLE, 0, 0, 120, 80);
  b.control(0x80, u"First", 1, BS_PUSHBUTTON | WS_TABSTOP, 4, 4, 40, 14);
  b.control(0x80, u"Frame", 2, BS_GROUPBOX | WS_GROUP, 2, 20, 116, 50);
  b.control(0x80, u"Inside", 3, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 10, 36, 40, 14);
  HWND dlg = Modeless(b);
  ASSERT_NE(nullptr, dlg);
  HWND inside = GetDlgItem(dlg, 3);
  RECT r;
  GetWindowRect(inside, &r);
  EXPECT_EQ(inside, WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  // The keyboard still follows the template.
  EXPECT_EQ(inside, GetNextDlgTabItem(dlg, GetDlgItem(dlg, 1), FALSE));
  EXPECT_EQ(GetDlgItem(dlg, 1), GetNextDlgTabItem(dlg, nullptr, FALSE));
  DestroyWindow(dlg);
}

}  // namespace
