// The script grammar: every command form, and faulty lines reported with their numbers.
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
