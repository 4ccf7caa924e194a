// Whole processes of a small program copied under the terminal's root: its "TarnDBG" folder and
// trace files, a program without version information, and two processes writing one log.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "TarnClogFixture.h"

namespace tarntest {
namespace {

struct ProbeResult {
    long pid = 0;
    int written = -1, refused = -1;
    unsigned long error = 0;
};

class ProbeRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.HostPath("app"));
        std::filesystem::copy_file(TARNCLOG_PROBE, dir_.HostPath("app/tarnclog_probe"));
    }

    // Starts a probe; Finish reads what it printed.
    FILE* Start(const std::string& args) {
        std::string command = "exec " + dir_.HostPath("app/tarnclog_probe").string() + " '" + Narrow(dir_.Path("op.log")) + "' " + args;
        return ::popen(command.c_str(), "r");
    }
    static ProbeResult Finish(FILE* out) {
        ProbeResult r;
        if (out == nullptr) return r;
        if (std::fscanf(out, "%ld %d %d %lu", &r.pid, &r.written, &r.refused, &r.error) != 4) r = ProbeResult{};
        ::pclose(out);
        return r;
    }
    ProbeResult Run(const std::string& args) { return Finish(Start(args)); }

    std::string Read(const std::string& name) const {
        std::ifstream in(dir_.HostPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // A UTF-16LE trace file as lines of ASCII text; the mark must open the file and appear once.
    std::vector<std::string> TraceLines(const std::string& name) const {
        std::string bytes = Read(name);
        EXPECT_EQ("\xff\xfe", bytes.substr(0, 2)) << name;
        std::string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            char16_t c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
            EXPECT_NE(0xFEFF, c) << name << ": a second byte-order mark";
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return Lines(text);
    }

    TerminalTempDir dir_;
};

// Without "TarnDBG" no trace appears; a program without version information is named alone;
// without a log ID the process id fills fields 3 and 4, "PTBOX" or not.
TEST_F(ProbeRunTest, PlainRunWritesOnlyTheLog) {
    ProbeResult r = Run("1 1");
    ASSERT_EQ(3, r.written);
    auto lines = Lines(Read("op.log"));
    ASSERT_EQ(3u, lines.size());
    for (const auto& line : lines) {
        auto f = Fields(line);
        ASSERT_EQ(17u, f.size()) << line;
        EXPECT_EQ(std::to_string(r.pid), f[2]);
        EXPECT_EQ(std::to_string(r.pid), f[3]);
        EXPECT_EQ("tarnclog_probe", f[10]);
    }
    auto end = Fields(lines[2]);
    EXPECT_EQ((std::vector<std::string>{"2", "", "", "done"}), (std::vector<std::string>{end[4], end[8], end[9], end[11]}));
    EXPECT_FALSE(std::filesystem::exists(dir_.HostPath("app/TarnDBG")));
    EXPECT_EQ(1u, std::distance(std::filesystem::directory_iterator(dir_.HostPath("app")), {}));
}

TEST_F(ProbeRunTest, TraceFilesPerThreadAppendedOnTheNextRun) {
    std::filesystem::create_directories(dir_.HostPath("app/TarnDBG"));
    ProbeResult first = Run("2 2 collector");
    ASSERT_EQ(6, first.written);
    ProbeResult second = Run("2 2 collector");
    ASSERT_EQ(6, second.written);
    EXPECT_FALSE(std::filesystem::exists(dir_.HostPath("op.log")));

    const std::string stamp = R"(\[\d\d:\d\d:\d\d:\d\d\d\])";
    auto main = TraceLines("app/TarnDBG/TarnMLog.txt");
    ASSERT_EQ(10u, main.size());
    for (int run = 0; run < 2; ++run) {
        std::string pid = std::to_string(run == 0 ? first.pid : second.pid);
        const std::string expected[] = {
            "SetBaseInfo dwPID= " + pid,
            "CommonLogPut dwID=1, dwPID=" + pid + ", pCmd=PTBOX",
            "PutAppLog pInfo=main, pMsg=",
            "CommonLogPut dwID=2, dwPID=" + pid + ", pCmd=NULL",
            "\\[NULL\\] PutAppLog pInfo=0, pMsg=[0-9a-f]+",
        };
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_TRUE(std::regex_match(main[run * 5 + i], std::regex(stamp + expected[i]))) << main[run * 5 + i];
        }
    }

    // Each worker thread has its own file named by its id in hexadecimal.
    int threadFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.HostPath("app/TarnDBG"))) {
        std::string name = entry.path().filename().string();
        if (name == "TarnMLog.txt") continue;
        ++threadFiles;
        EXPECT_TRUE(std::regex_match(name, std::regex("TarnTh_[1-9a-f][0-9a-f]*\\.txt"))) << name;
        auto lines = TraceLines("app/TarnDBG/" + name);
        ASSERT_EQ(0u, lines.size() % 4) << name;
        for (size_t i = 0; i < lines.size(); i += 2) {
            EXPECT_TRUE(std::regex_match(lines[i], std::regex(stamp + "CommonLogPut dwID=8, dwPID=\\d+, pCmd=probe")))
                << lines[i];
            EXPECT_TRUE(std::regex_match(lines[i + 1], std::regex(stamp + "PutAppLog pInfo=thread [01], pMsg=record [01] \"quoted\"")))
                << lines[i + 1];
        }
    }
    EXPECT_GE(threadFiles, 2);
}

// What a record call reported as written is in the file even when the process is killed
// right after.
TEST_F(ProbeRunTest, RecordsSurviveAKilledProcess) {
    ProbeResult r = Run("2 50 kill");
    ASSERT_EQ(102, r.written + r.refused);
    EXPECT_EQ(static_cast<size_t>(r.written), Lines(Read("op.log")).size());
}

// Two processes with several threads each: every line whole, the refused ones told so.
TEST_F(ProbeRunTest, TwoProcessesWritingOneLog) {
    FILE* a = Start("4 150");
    FILE* b = Start("4 150");
    ProbeResult ra = Finish(a), rb = Finish(b);
    for (const ProbeResult& r : {ra, rb}) {
        ASSERT_EQ(602, r.written + r.refused);
        if (r.refused > 0) {
            EXPECT_EQ(TARNCLOG_ERR_OPEN, r.error);
        }
    }
    auto lines = Lines(Read("op.log"));
    EXPECT_EQ(static_cast<size_t>(ra.written + rb.written), lines.size());
    size_t fromA = 0;
    for (const auto& line : lines) {
        auto f = Fields(line);
        ASSERT_EQ(17u, f.size()) << line;
        if (f[2] == std::to_string(ra.pid)) ++fromA;
    }
    EXPECT_EQ(static_cast<size_t>(ra.written), fromA);
}

}  // namespace
}  // namespace tarntest
