// vela-rc's DIALOG and DIALOGEX statements against the platform's DLGTEMPLATE and DLGTEMPLATEEX
// layouts: header, font, DWORD-aligned items, default control styles, NOT, class atoms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ResourceCompilerTestSupport.h"

namespace {

using vela::testing::ResourceCompiler;

constexpr uint16_t kDialog = 5;

uint16_t Word(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t Dword(const std::vector<uint8_t>& b, size_t at) {
  return Word(b, at) | (static_cast<uint32_t>(Word(b, at + 2)) << 16);
}

// Skips a menu/class/title field; *text receives a string field, *ordinal an ordinal one.
size_t SkipField(const std::vector<uint8_t>& b, size_t at, std::u16string* text = nullptr, int* ordinal = nullptr) {
  if (Word(b, at) == 0xFFFF) {
    if (ordinal) *ordinal = Word(b, at + 2);
    return at + 4;
  }
  std::u16string s;
  while (Word(b, at) != 0) {
    s += static_cast<char16_t>(Word(b, at));
    at += 2;
  }
  if (text) *text = s;
  return at + 2;
}

struct Item {
  uint32_t style;
  int classAtom = -1;
  std::u16string className;
  std::u16string text;
};

// The items of a DIALOG (not DIALOGEX) template.
std::vector<Item> ItemsOf(const std::vector<uint8_t>& b) {
  std::vector<Item> items;
  if (b.size() < 18) return items;
  const uint32_t style = Dword(b, 0);
  const size_t count = Word(b, 8);
  size_t at = SkipField(b, SkipField(b, SkipField(b, 18)));
  if (style & 0x40) {
    at = SkipField(b, at + 2);
  }
  for (size_t i = 0; i < count; ++i) {
    at = (at + 3) & ~size_t{3};
    Item item;
    item.style = Dword(b, at);
    at = SkipField(b, at + 18, &item.className, &item.classAtom);
    at = SkipField(b, at, &item.text);
    at += 2 + Word(b, at);
    items.push_back(item);
  }
  return items;
}

TEST_F(ResourceCompiler, DialogTemplateBytes) {
  // 表示 in code page 932; the caption adds WS_CAPTION and the font DS_SETFONT to the default
  // WS_POPUP | WS_BORDER | WS_SYSMENU.
  Write("dialog.rc",
        "#include <windows.h>\n"
        "#pragma code_page(932)\n"
        "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
        "1 DIALOG 10, 20, 100, 50\n"
        "CAPTION \"\x95\x5C\x8E\xA6\"\n"
        "FONT 9, \"A\"\n"
        "BEGIN\n"
        "  DEFPUSHBUTTON \"OK\", IDOK, 5, 30, 40, 14\n"
        "  EDITTEXT 101, 1, 2, 3, 4, ES_NUMBER | NOT WS_BORDER\n"
        "END\n");
  ASSERT_EQ(0, Compile("dialog.rc")) << output_;
  const std::vector<uint8_t> expected{
      0x40, 0x00, 0xC8, 0x80,  0, 0, 0, 0,  2, 0,  10, 0, 20, 0, 100, 0, 50, 0,
      0, 0,  0, 0,  0x68, 0x88, 0x3A, 0x79, 0, 0,  9, 0, 'A', 0, 0, 0,  0, 0,
      // DEFPUSHBUTTON: WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, class 0x0080
      0x01, 0x00, 0x01, 0x50,  0, 0, 0, 0,  5, 0, 30, 0, 40, 0, 14, 0,  1, 0,
      0xFF, 0xFF, 0x80, 0x00,  'O', 0, 'K', 0, 0, 0,  0, 0,  0, 0,
      // EDITTEXT: ES_LEFT | WS_TABSTOP | ES_NUMBER without its default WS_BORDER, class 0x0081
      0x00, 0x20, 0x01, 0x50,  0, 0, 0, 0,  1, 0, 2, 0, 3, 0, 4, 0,  101, 0,
      0xFF, 0xFF, 0x81, 0x00,  0, 0,  0, 0};
  EXPECT_EQ(expected, BytesOf(kDialog, 1, 0x0411));
}

TEST_F(ResourceCompiler, DialogExTemplateBytes) {
  Write("dialogex.rc",
        "#include <windows.h>\n"
        "2 DIALOGEX 0, 0, 80, 40, 77\n"
        "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP\n"
        "EXSTYLE WS_EX_TOPMOST\n"
        "CLASS \"MyDlg\"\n"
        "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
        "FONT 8, \"B\", 700, 1, 128\n"
        "BEGIN\n"
        "  CONTROL \"x\", -1, \"Static\", SS_ICON | NOT WS_VISIBLE, 1, 2, 3, 4, WS_EX_CLIENTEDGE, 99\n"
        "END\n");
  ASSERT_EQ(0, Compile("dialogex.rc")) << output_;
  const std::vector<uint8_t> expected{
      1, 0, 0xFF, 0xFF,  77, 0, 0, 0,  0x08, 0, 0, 0,  0xC0, 0x00, 0x00, 0x80,  1, 0,
      0, 0, 0, 0, 80, 0, 40, 0,  0, 0,  'M', 0, 'y', 0, 'D', 0, 'l', 0, 'g', 0, 0, 0,  0, 0,
      8, 0,  0xBC, 0x02,  1,  128,  'B', 0, 0, 0,
      // help id, extended style, style (no WS_VISIBLE), rectangle, 32-bit id -1, atom 0x0082
      99, 0, 0, 0,  0x00, 0x02, 0, 0,  0x03, 0x00, 0x00, 0x40,  1, 0, 2, 0, 3, 0, 4, 0,
      0xFF, 0xFF, 0xFF, 0xFF,  0xFF, 0xFF, 0x82, 0x00,  'x', 0, 0, 0,  0, 0};
  EXPECT_EQ(expected, BytesOf(kDialog, 2, 0x0411));
}

TEST_F(ResourceCompiler, EachControlKeywordHasThePlatformsDefaultStyleAndClass) {
  Write("controls.rc",
        "#include <windows.h>\n"
        "1 DIALOG 0, 0, 100, 100\n"
        "STYLE WS_POPUP\n"
        "BEGIN\n"
        "  LTEXT \"l\", 1, 0, 0, 1, 1\n"
        "  CTEXT \"c\", 2, 0, 0, 1, 1\n"
        "  RTEXT \"r\", 3, 0, 0, 1, 1\n"
        "  PUSHBUTTON \"p\", 4, 0, 0, 1, 1\n"
        "  DEFPUSHBUTTON \"d\", 5, 0, 0, 1, 1\n"
        "  CHECKBOX \"k\", 6, 0, 0, 1, 1\n"
        "  AUTOCHECKBOX \"a\", 7, 0, 0, 1, 1\n"
        "  RADIOBUTTON \"o\", 8, 0, 0, 1, 1\n"
        "  AUTORADIOBUTTON \"u\", 9, 0, 0, 1, 1\n"
        "  GROUPBOX \"g\", 10, 0, 0, 1, 1\n"
        "  EDITTEXT 11, 0, 0, 1, 1\n"
        "  COMBOBOX 12, 0, 0, 1, 1, CBS_DROPDOWNLIST\n"
        "  LISTBOX 13, 0, 0, 1, 1\n"
        "  ICON 100, 14, 0, 0\n"
        "  ICON \"APP\", 15, 0, 0, 8, 8, SS_CENTERIMAGE\n"
        "  CONTROL \"b\", 16, BUTTON, BS_OWNERDRAW, 0, 0, 1, 1\n"
        "  CONTROL \"e\", 17, \"edit\", ES_MULTILINE, 0, 0, 1, 1\n"
        "  CONTROL \"n\", 18, 0x85, 0, 0, 0, 1, 1\n"
        "  CONTROL \"m\", 19, \"VelaClock\", NOT WS_VISIBLE, 0, 0, 1, 1\n"
        "  LTEXT \"s\", 20, 0, 0, 1, 1, WS_BORDER | NOT WS_GROUP\n"
        "END\n");
  ASSERT_EQ(0, Compile("controls.rc")) << output_;
  const std::vector<Item> items = ItemsOf(BytesOf(kDialog, 1, 0x0409));
  struct Expected {
    uint32_t style;
    int atom;  // -1: a class name
  };
  const Expected expected[] = {
      {0x50020000, 0x82}, {0x50020001, 0x82}, {0x50020002, 0x82},  // LTEXT CTEXT RTEXT
      {0x50010000, 0x80}, {0x50010001, 0x80}, {0x50010002, 0x80},  // PUSH DEFPUSH CHECKBOX
      {0x50010003, 0x80}, {0x50000004, 0x80}, {0x50000009, 0x80},  // AUTOCHECK RADIO AUTORADIO
      {0x50000007, 0x80}, {0x50810000, 0x81}, {0x50010003, 0x85},  // GROUPBOX EDITTEXT COMBOBOX
      {0x50800001, 0x83}, {0x50000003, 0x82}, {0x50000203, 0x82},  // LISTBOX ICON ICON
      {0x5000000B, 0x80}, {0x50000004, 0x81}, {0x50000000, 0x85},  // CONTROL ...
      {0x40000000, -1},   {0x50800000, 0x82}};
  ASSERT_EQ(std::size(expected), items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    EXPECT_EQ(expected[i].style, items[i].style) << std::hex << items[i].style;
    EXPECT_EQ(expected[i].atom, items[i].classAtom);
  }
  EXPECT_EQ(u"VelaClock", items[18].className);
  // An icon's text names the icon resource: by number or by name.
  EXPECT_EQ(u"", items[13].text);
  EXPECT_EQ(u"APP", items[14].text);
}

TEST_F(ResourceCompiler, DialogDefaultsAndWarnings) {
  Write("menu.rc",
        "1 DIALOG 0, 0, 10, 10\n"
        "MENU 100\n"
        "BEGIN\n"
        "END\n");
  ASSERT_EQ(0, Compile("menu.rc")) << output_;
  EXPECT_NE(std::string::npos, output_.find("menu.rc:2: warning: MENU")) << output_;
  const std::vector<uint8_t> bytes = BytesOf(kDialog, 1, 0x0409);
  ASSERT_GE(bytes.size(), 24u);
  EXPECT_EQ(0x80880000u, Dword(bytes, 0));  // WS_POPUP | WS_BORDER | WS_SYSMENU, no font
  EXPECT_EQ(0u, Word(bytes, 8));
  EXPECT_EQ(0u, Word(bytes, 18));  // no menu
  EXPECT_EQ(0u, Word(bytes, 20));  // no class
  EXPECT_EQ(0u, Word(bytes, 22));  // empty title
  EXPECT_EQ(24u, bytes.size());
}

TEST_F(ResourceCompiler, BadDialogsNameFileAndLine) {
  struct Case {
    const char* script;
    const char* where;
    const char* message;
  };
  const Case cases[] = {
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  SLIDER \"x\", 1, 0, 0, 1, 1\nEND\n", "bad.rc:3", "'SLIDER' is not a control statement"},
      {"1 DIALOG 0, 0, 10, 10\nCAPTON \"x\"\nBEGIN\nEND\n", "bad.rc:2", "'CAPTON' is not a DIALOG statement"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\", 1, 0, 0, 1, 1, 0, 0, 5\nEND\n", "bad.rc:3", "only allowed in a DIALOGEX"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  CONTROL \"x\", 1, SLIDER, 0, 0, 0, 1, 1\nEND\n", "bad.rc:3", "unknown control class 'SLIDER'"},
      {"1 DIALOG 0, 0, 70000, 10\nBEGIN\nEND\n", "bad.rc:1", "out of range"},
      {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\", 1, 0, 0, 1, 1\n", "bad.rc:2", "BEGIN without END"},
      {"1 DIALOG 0, 0, 10, 10\nFONT \"x\"\nBEGIN\nEND\n", "bad.rc:2", "a number is expected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    Write("bad.rc", c.script);
    EXPECT_EQ(1, Compile("bad.rc"));
    EXPECT_EQ(0u, output_.find(folder_ + "/" + c.where + ": error: ")) << output_;
    EXPECT_NE(std::string::npos, output_.find(c.message)) << output_;
  }
}

}  // namespace
