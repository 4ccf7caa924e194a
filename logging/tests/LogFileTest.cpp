// The log file under faults: a missing folder, a read-only file, a full disk, a file held by
// another writer, records too long for the line, and many writers at once.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TarnClogFixture.h"

namespace tarntest {
namespace {

using LogFileTest = TarnClogTest;

TEST_F(LogFileTest, AppendsToExistingContentWithoutMark) {
    std::ofstream(dir_.HostPath("op.log"), std::ios::binary) << "earlier\r\n";
    SetBase(nullptr, nullptr, nullptr, 1);
    ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    std::string bytes = LogBytes();
    EXPECT_EQ(0u, bytes.find("earlier\r\n\"2010/8/4\""));
}

TEST_F(LogFileTest, MissingFolderIsNotCreated) {
    std::u16string path = dir_.Path("missing\\op.log");
    TarnClog_SetBaseInfo(path.c_str(), nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_OPEN, TarnClog_GetErrno());
    EXPECT_FALSE(std::filesystem::exists(dir_.HostPath("missing")));
}

TEST_F(LogFileTest, ReadOnlyFileIsRefused) {
    std::ofstream(dir_.HostPath("op.log"), std::ios::binary) << "kept\r\n";
    ::chmod(dir_.HostPath("op.log").c_str(), 0444);
    SetBase(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_OPEN, TarnClog_GetErrno());
    EXPECT_EQ("kept\r\n", LogBytes());
}

TEST_F(LogFileTest, FullDiskFailsTheWrite) {
    std::filesystem::create_symlink("/dev/full", dir_.HostPath("full.log"));
    TarnClog_SetBaseInfo(dir_.Path("full.log").c_str(), nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_WRITE, TarnClog_GetErrno());
}

// A write cut short (here by a file size limit, as by a disk filling up mid-write) leaves no
// part of the line behind for the next record to continue.
TEST_F(LogFileTest, WriteCutShortLeavesNothingBehind) {
    SetBase(nullptr, nullptr, nullptr, 1);
    ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    const std::string before = LogBytes();
    rlimit old{};
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &old));
    rlimit small = old;
    small.rlim_cur = before.size() + 20;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small));
    LONG result = TarnClog_Start(u"c", u"i");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(-1, result);
    EXPECT_EQ(TARNCLOG_ERR_WRITE, TarnClog_GetErrno());
    EXPECT_EQ(before, LogBytes());
    ASSERT_EQ(0, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(2u, LogLines().size());
}

// The record is appended with no sharing: a writer holding the file makes it fail.
TEST_F(LogFileTest, FileHeldByAnotherHandleIsRefused) {
    SetBase(nullptr, nullptr, nullptr, 1);
    HANDLE held = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(-1, TarnClog_Start(u"c", u"i"));
    EXPECT_EQ(TARNCLOG_ERR_OPEN, TarnClog_GetErrno());
    CloseHandle(held);
    EXPECT_EQ(0, TarnClog_Start(u"c", u"i"));
}

// The line is refused whole when it exceeds 8192 units or, in code page 932, 8192 bytes; a cut
// would leave an open quote or half a double-byte character.
TEST_F(LogFileTest, RecordsBeyondTheLineCapacityAreRefusedWhole) {
    SetBase(u"A", u"D", u"U", 1);
    ASSERT_EQ(0, TarnClog_Message(u"c", u"i", u""));
    const size_t room = 8191 - LogBytes().size();  // ASCII only: units and bytes agree

    struct Case {
        const char* what;
        std::u16string msg;
        LONG result;
    } cases[] = {
        {"fits exactly", std::u16string(room, u'x'), 0},
        {"one unit over", std::u16string(room + 1, u'x'), -1},
        {"far over", std::u16string(100000, u'x'), -1},
        {"quotes doubled past the end", std::u16string(room / 2 + 1, u'"'), -1},
        {"fits in units, not in bytes", std::u16string(room / 2 + 1, u'表'), -1},
        {"double-byte, fits exactly", std::u16string(room / 2, u'表'), 0},
    };
    for (const Case& c : cases) {
        size_t before = LogBytes().size();
        EXPECT_EQ(c.result, TarnClog_Message(u"c", u"i", c.msg.c_str())) << c.what;
        if (c.result == 0) {
            EXPECT_EQ(before + 8191 - (room % 2 != 0 && c.msg[0] == u'表' ? 1 : 0), LogBytes().size()) << c.what;
        } else {
            EXPECT_EQ(TARNCLOG_ERR_WRITE, TarnClog_GetErrno()) << c.what;
            EXPECT_EQ(before, LogBytes().size()) << c.what;
        }
    }
    for (const auto& line : LogLines()) EXPECT_EQ(17u, Fields(line).size());
}

// Writers collide on the unshared open: each record is whole in the file or refused with
// 0x00780004, never torn or interleaved.
TEST_F(LogFileTest, ThreadsWritingAtOnce) {
    constexpr int kThreads = 8, kRecords = 200;
    SetBase(u"A", u"D", u"U", 3);
    std::atomic<int> written{0}, refused{0}, otherFailures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::u16string info(1, static_cast<char16_t>(u'a' + t));
            for (int i = 0; i < kRecords; ++i) {
                std::u16string msg = info + u" \"" + std::u16string(static_cast<size_t>(i % 50), u'表') + u"\"";
                if (TarnClog_Message(u"c", info.c_str(), msg.c_str()) == 0) {
                    ++written;
                } else if (TarnClog_GetErrno() == TARNCLOG_ERR_OPEN) {
                    ++refused;
                } else {
                    ++otherFailures;
                }
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(0, otherFailures.load());
    EXPECT_EQ(kThreads * kRecords, written + refused);
    auto lines = LogLines();
    EXPECT_EQ(static_cast<size_t>(written.load()), lines.size());
    for (const auto& line : lines) {
        auto f = Fields(line);
        ASSERT_EQ(17u, f.size()) << line;
        EXPECT_EQ(f[9] + " \"", f[11].substr(0, f[9].size() + 2)) << line;
    }
}

}  // namespace
}  // namespace tarntest
