// The script grammar: every command form, and faulty lines reported with their numbers.
#include <vela/DeviceAction.h>
#include <vela/Script.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using vela::script::Op;
using vela::script::Parse;

std::string Errors(const vela::script::Script& script) {
  std::string out;
  for (const auto& error : script.errors) out += vela::script::FormatError(error) + "\n";
  return out;
}

TEST(ScriptParseTest, EveryCommandForm) {
  const auto script = Parse(
      "\xEF\xBB\xBF# a tour\r\n"
      "tap 10 20\r\n"
      "  down 1 2   # pressed\n"
      "move 3 4\n"
      "UP 5 6\n"
      "\n"
      "key ENTER\n"
      "key 0x1b\n"
      "key f12\n"
      "key a\n"
      "type  日本語 #1 \n"
      "wait 250\n"
      "idle\n"
      "shot first.png\n"
      "shot dialog.png 設定 画面\n"
      "log done # or not\n"
      "quit 3\n"
      "quit");
  ASSERT_EQ(Errors(script), "");
  const auto& c = script.commands;
  ASSERT_EQ(c.size(), 16u);
  EXPECT_EQ(c[0].op, Op::Tap);
  EXPECT_EQ(c[0].line, 2);
  EXPECT_EQ(c[0].x, 10);
  EXPECT_EQ(c[0].y, 20);
  EXPECT_EQ(c[1].op, Op::Down);
  EXPECT_EQ(c[3].op, Op::Up);
  EXPECT_EQ(c[3].line, 5);
  EXPECT_EQ(c[4].number, VK_RETURN);
  EXPECT_EQ(c[5].number, VK_ESCAPE);
  EXPECT_EQ(c[6].number, VK_F12);
  EXPECT_EQ(c[7].number, 'A');
  EXPECT_EQ(c[8].op, Op::Type);
  EXPECT_EQ(c[8].text, u" 日本語 #1 ");  // all after the first blank, comment sign included
  EXPECT_EQ(c[9].number, 250);
  EXPECT_EQ(c[10].op, Op::Idle);
  EXPECT_EQ(c[11].file, "first.png");
  EXPECT_EQ(c[11].text, u"");
  EXPECT_EQ(c[12].text, u"設定 画面");
  EXPECT_EQ(c[13].text, u"done # or not");
  EXPECT_EQ(c[14].number, 3);
  EXPECT_EQ(c[15].number, 0);
  EXPECT_EQ(c[15].line, 18);
}

TEST(ScriptParseTest, FaultyLinesAreAllReportedWithTheirNumbers) {
  const auto script = Parse(
      "tap 10\n"            // 1: one coordinate
      "tap 10 x\n"          // 2
      "tap -1 5\n"          // 3
      "tap 1 2 3\n"         // 4: left over
      "key\n"               // 5
      "key HYPER\n"         // 6
      "key 300\n"           // 7
      "wait -5\n"           // 8
      "wait soon\n"         // 9
      "shot picture.bmp\n"  // 10
      "shot\n"              // 11
      "quit now\n"          // 12
      "type\n"              // 13
      "jump 1 2\n"          // 14
      "idle 5\n"            // 15
      "tap 1 2\n");         // 16: fine
  EXPECT_EQ(Errors(script),
            "line 1: expects two whole numbers X Y\n"
            "line 2: expects two whole numbers X Y\n"
            "line 3: coordinates must be between 0 and 32767\n"
            "line 4: unexpected '3' at the end\n"
            "line 5: expects a key\n"
            "line 6: unknown key 'HYPER'\n"
            "line 7: unknown key '300'\n"
            "line 8: expects the milliseconds to wait, 0 or more\n"
            "line 9: expects the milliseconds to wait, 0 or more\n"
            "line 10: expects a file name ending in .png\n"
            "line 11: expects a file name ending in .png\n"
            "line 12: expects a whole number as the exit code\n"
            "line 13: expects the text to type\n"
            "line 14: unknown command 'jump'\n"
            "line 15: unexpected '5' at the end\n");
  ASSERT_EQ(script.commands.size(), 1u);
  EXPECT_EQ(script.commands[0].line, 16);
}

TEST(ScriptParseTest, HugeNumbersAreErrorsNotWrapped) {
  const auto script = Parse("wait 99999999999999999999\ntap 40000 1\nquit 4294967296\n");
  EXPECT_EQ(script.errors.size(), 3u);
  EXPECT_TRUE(script.commands.empty());
}

}  // namespace

namespace {

using vela::script::Control;

TEST(ScriptParseTest, ControlsDeviceActionsExpectationsAndClock) {
  const auto script = Parse(
      "clock 2026-05-02T08:30:00\n"
      "tap \"開始\"\n"
      "tap #1001  # the OK button\n"
      "tap #0x3E9\n"
      "battery 20\n"
      "volume in Storage Card\n"
      "suspend # sleeps\n"
      "expect text #1001 \"say \\\"hi\\\" \\\\ # not a comment\"   # but this is\n"
      "expect icon \"Battery\" 0x65\n"
      "expect visible #7\n"
      "expect hidden \"\"\n"
      "EXPECT TEXT \"a\" \"\"\n");
  ASSERT_EQ(Errors(script), "");
  const auto& c = script.commands;
  ASSERT_EQ(c.size(), 12u);
  EXPECT_EQ(c[0].op, Op::Clock);
  EXPECT_EQ(c[0].time.wYear, 2026);
  EXPECT_EQ(c[0].time.wMonth, 5);
  EXPECT_EQ(c[0].time.wDay, 2);
  EXPECT_EQ(c[0].time.wHour, 8);
  EXPECT_EQ(c[0].time.wMinute, 30);
  EXPECT_EQ(c[1].op, Op::Tap);
  EXPECT_EQ(c[1].control.by, Control::By::Caption);
  EXPECT_EQ(c[1].control.caption, u"開始");
  EXPECT_EQ(c[2].control.by, Control::By::Id);
  EXPECT_EQ(c[2].control.id, 1001);
  EXPECT_EQ(c[3].control.id, 1001);
  EXPECT_EQ(c[4].op, Op::Device);
  EXPECT_EQ(c[4].words, "battery 20");
  EXPECT_EQ(c[5].words, "volume in Storage Card");
  EXPECT_EQ(c[6].words, "suspend");
  EXPECT_EQ(c[7].op, Op::ExpectText);
  EXPECT_EQ(c[7].control.id, 1001);
  EXPECT_EQ(c[7].text, u"say \"hi\" \\ # not a comment");
  EXPECT_EQ(c[8].op, Op::ExpectIcon);
  EXPECT_EQ(c[8].control.caption, u"Battery");
  EXPECT_EQ(c[8].number, 0x65);
  EXPECT_EQ(c[9].op, Op::ExpectVisible);
  EXPECT_EQ(c[10].op, Op::ExpectHidden);
  EXPECT_EQ(c[10].control.by, Control::By::Caption);
  EXPECT_EQ(c[10].control.caption, u"");
  EXPECT_EQ(c[11].op, Op::ExpectText);
  EXPECT_EQ(c[11].text, u"");
}

TEST(ScriptParseTest, FaultyNewFormsAreAllReported) {
  const auto script = Parse(
      "# comments do not count as commands\n"
      "clock 2026-13-01T00:00:00\n"         // 2: no such month
      "clock 2026-01-01T00:00:00\n"         // 3: no longer the first
      "tap \"unclosed\n"                   // 4
      "tap \"bad \\n escape\"\n"            // 5
      "tap \"glued\"on\n"                   // 6
      "tap #70000\n"                        // 7
      "tap #\n"                             // 8
      "battery 120\n"                       // 9
      "network sideways\n"                  // 10
      "expect\n"                            // 11
      "expect colour #1\n"                  // 12
      "expect text #1\n"                    // 13
      "expect text #1 unquoted\n"           // 14
      "expect icon #1\n"                    // 15
      "expect visible 1001\n"               // 16
      "expect hidden #1 \"extra\"\n"        // 17
      "tap #5 6\n");                        // 18
  EXPECT_EQ(Errors(script),
            "line 2: expects a time YYYY-MM-DDTHH:MM:SS\n"
            "line 3: clock may only be the first command\n"
            "line 4: the quoted text has no closing quote\n"
            "line 5: only \\\" and \\\\ may follow a backslash in quotes\n"
            "line 6: expects a blank after the closing quote\n"
            "line 7: expects a control id after '#', 0 to 65535 (or 0x0 to 0xFFFF)\n"
            "line 8: expects a control id after '#', 0 to 65535 (or 0x0 to 0xFFFF)\n"
            "line 9: " + vela::device::CheckAction("battery 120") + "\n"
            "line 10: " + vela::device::CheckAction("network sideways") + "\n"
            "line 11: expect what? text, icon, visible or hidden\n"
            "line 12: expect what? text, icon, visible or hidden\n"
            "line 13: expects the wanted text in quotes\n"
            "line 14: expects the wanted text in quotes\n"
            "line 15: expects the icon's resource id\n"
            "line 16: expects a control: \"CAPTION\" or #ID\n"
            "line 17: unexpected '\"extra\"' at the end\n"
            "line 18: unexpected '6' at the end\n");
  EXPECT_TRUE(script.commands.empty());
}

}  // namespace
