// Reading dialog templates: both layouts, fonts, item classes and titles, and templates that
// are cut short anywhere.
#include "dialogs/DialogTemplate.h"

#include <gtest/gtest.h>

#include "DialogTemplateBuilder.h"

using vela::dialogs::ParseDialogTemplate;
using vela::test::DialogTemplateBuilder;

namespace {

DialogTemplateBuilder SampleDialog(bool extended) {
  DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | DS_MODALFRAME, 10, 20, 150, 80, u"設定");
  b.font(9, u"MS UI Gothic").extended(extended);
  b.control(0x82, u"Name:", 100, SS_LEFT, 4, 4, 40, 10);
  b.control(0x81, u"", 101, ES_AUTOHSCROLL | WS_TABSTOP, 50, 4, 90, 12);
  b.control(0x80, u"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 60, 50, 14);
  b.add({static_cast<DWORD>(WS_CHILD), 0, 0, 10, 10, 102, 0, u"MyClass", u""});
  return b;
}

}  // namespace

TEST(DialogTemplateTest, ReadsBothLayoutsAlike) {
  for (bool extended : {false, true}) {
    SCOPED_TRACE(extended ? "DLGTEMPLATEEX" : "DLGTEMPLATE");
    DialogTemplateBuilder b = SampleDialog(extended);
    const DLGTEMPLATE* data = b.build();
    auto t = ParseDialogTemplate(data, b.size());
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(extended, t->extended);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT), t->style);
    EXPECT_EQ(10, t->x);
    EXPECT_EQ(80, t->cy);
    EXPECT_EQ(u"設定", t->title);
    EXPECT_TRUE(t->hasFont);
    EXPECT_EQ(9, t->pointSize);
    EXPECT_EQ(u"MS UI Gothic", t->faceName);
    ASSERT_EQ(4u, t->items.size());
    EXPECT_EQ(0x82, t->items[0].windowClass.ordinal);
    EXPECT_EQ(u"Name:", t->items[0].title.text);
    EXPECT_EQ(101u, t->items[1].id);
    EXPECT_FALSE(t->items[1].title.present);
    EXPECT_EQ(static_cast<DWORD>(IDOK), t->items[2].id);
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_CHILD | WS_VISIBLE), t->items[2].style);
    EXPECT_EQ(u"MyClass", t->items[3].windowClass.text);
    EXPECT_FALSE(t->items[3].windowClass.isOrdinal());
  }
}

TEST(DialogTemplateTest, WithoutFontTheItemsFollowTheTitle) {
  DialogTemplateBuilder b(WS_POPUP, 0, 0, 50, 50, u"x");
  b.control(0x80, u"Go", 7, 0, 1, 2, 3, 4);
  const DLGTEMPLATE* data = b.build();
  auto t = ParseDialogTemplate(data, b.size());
  ASSERT_TRUE(t.has_value());
  EXPECT_FALSE(t->hasFont);
  ASSERT_EQ(1u, t->items.size());
  EXPECT_EQ(u"Go", t->items[0].title.text);
  EXPECT_EQ(4, t->items[0].cy);
}

TEST(DialogTemplateTest, EveryTruncationIsRejected) {
  for (bool extended : {false, true}) {
    DialogTemplateBuilder b = SampleDialog(extended);
    const BYTE* data = reinterpret_cast<const BYTE*>(b.build());
    // The last item's final word can be cut only by its own bytes; every shorter size must fail.
    for (std::size_t n = 0; n < b.size(); ++n) {
      std::vector<DWORD> copy((n + 3) / 4 + 1);
      std::memcpy(copy.data(), data, n);
      EXPECT_FALSE(ParseDialogTemplate(copy.data(), n).has_value()) << "size " << n;
    }
  }
  EXPECT_FALSE(ParseDialogTemplate(nullptr, 100).has_value());
}
