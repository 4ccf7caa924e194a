#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "LogFollower.h"
#include "LogTable.h"

using vela::logview::LogFollower;
using vela::logview::LogTable;
using vela::logview::ParseLogLine;
using vela::logview::SplitLogLine;

namespace {

// "起動できませんでした" in code page 932, as the log file holds it.
const char kFailedCp932[] = "\x8B\x4E\x93\xAE\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD";

std::string Line(const std::string& kind, const std::string& message) {
    return "\"2026/12/7\",\"9:5:0\",\"7\",\"7\",\"" + kind +
           "\",\"RQ-44\",\"RQ-44\",\"operator\",\"ptbox\",\"Job \"\"A\"\"\",\"Launcher.exe 1.0\",\"" + message +
           "\",\"\",\"\",\"\",\"\",\"\"";
}

}  // namespace

TEST(LogViewParse, SplitsQuotedFieldsWithDoubledQuotesAndEmptyOnes) {
    auto fields = SplitLogLine(R"("a","b ""c""","",",")");
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields, (std::vector<std::string>{"a", "b \"c\"", "", ","}));
}

TEST(LogViewParse, RefusesLinesThatAreNotQuotedFields) {
    EXPECT_FALSE(SplitLogLine(""));
    EXPECT_FALSE(SplitLogLine(R"("a",b)"));
    EXPECT_FALSE(SplitLogLine(R"("a" ,"b")"));
    EXPECT_FALSE(SplitLogLine(R"("open)"));
    EXPECT_FALSE(SplitLogLine(R"("a",)"));
    // Sixteen fields are not a record.
    std::string line = Line("1", "");
    EXPECT_FALSE(ParseLogLine(line.substr(0, line.rfind(','))));
}

TEST(LogViewParse, RecordFieldsDecodeCodePage932AndNameTheKind) {
    // A trail byte 0x5C (the second byte of 表) must stay part of its character.
    auto record = ParseLogLine(Line("4", std::string("[0x00000002] ") + kFailedCp932 + " \x95\x5C"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->kind, "Abort");
    EXPECT_EQ(record->info, "Job \"A\"");
    EXPECT_EQ(record->message, "[0x00000002] 起動できませんでした 表");
    EXPECT_EQ(ParseLogLine(Line("1", ""))->kind, "Start");
    EXPECT_EQ(ParseLogLine(Line("8", "m"))->kind, "Message");
    EXPECT_EQ(ParseLogLine(Line("9", "m"))->kind, "9");
}

TEST(LogViewTable, PadsColumnsByDisplayWidthCountingWideCharactersTwice) {
    EXPECT_EQ(vela::logview::DisplayWidth("abc"), 3u);
    EXPECT_EQ(vela::logview::DisplayWidth("起動"), 4u);
    EXPECT_EQ(vela::logview::DisplayWidth("ｶﾅ"), 2u);  // half-width katakana

    LogTable table;
    auto narrow = *ParseLogLine(Line("2", "ok"));
    auto wide = narrow;
    wide.user = "利用者";
    wide.message = "正常終了しました";
    table.Fit(wide);
    table.Fit(narrow);
    const std::string a = table.Row(wide), b = table.Row(narrow);
    // The message column starts at the same display column in both rows.
    EXPECT_EQ(vela::logview::DisplayWidth(a.substr(0, a.find("正常"))),
              vela::logview::DisplayWidth(b.substr(0, b.rfind("ok"))));
    EXPECT_NE(table.Header().find("Message"), std::string::npos);
    EXPECT_EQ(LogTable::Unreadable("junk"), "?? junk\n");
}

TEST(LogViewFollow, ReturnsOnlyCompleteNewLinesAndStartsOverWhenTheFileShrinks) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vela_logview_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".log");
    std::filesystem::remove(path);
    LogFollower follower(path.string());
    EXPECT_TRUE(follower.ReadNewLines().empty());
    EXPECT_FALSE(follower.Exists());

    std::ofstream(path, std::ios::binary) << "one\r\ntwo\r\nthr";
    EXPECT_EQ(follower.ReadNewLines(), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(follower.ReadNewLines().empty());
    std::ofstream(path, std::ios::binary | std::ios::app) << "ee\r\n";
    EXPECT_EQ(follower.ReadNewLines(), (std::vector<std::string>{"three"}));

    std::ofstream(path, std::ios::binary | std::ios::trunc) << "new\r\n";
    EXPECT_EQ(follower.ReadNewLines(), (std::vector<std::string>{"new"}));
    std::filesystem::remove(path);
}
