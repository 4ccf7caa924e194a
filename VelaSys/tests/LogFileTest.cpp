// The log object over TarnClog: which record each call writes, under which names, and when it
// writes nothing. Checked by reading the log file back.
#include <gtest/gtest.h>

#include <TarnClog.h>
#include <VLSysLogFile.h>
#include <iphlpapi.h>
#include <winsock.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TerminalFixture.h"
#include "TerminalTempDir.h"

namespace velasystest {
namespace {

// The records of a log file, each as its fields (quotes taken off; the tests use none inside).
std::vector<std::vector<std::string>> ReadRecords(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::vector<std::vector<std::string>> records;
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = bytes.substr(start + 1, end - start - 2);
        std::vector<std::string> fields;
        for (size_t from = 0, to;; from = to + 3) {
            to = line.find("\",\"", from);
            fields.push_back(line.substr(from, to - from));
            if (to == std::string::npos) break;
        }
        records.push_back(fields);
    }
    return records;
}

class LogFile : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        log_.InitLog(path_.c_str(), u"user", u"device", 0);
    }

    // Kind, command, operation and message of each record: "2|ptbox|menu|ok".
    std::vector<std::string> Written() const {
        std::vector<std::string> written;
        for (const auto& f : ReadRecords(dir_.HostPath("op.log"))) {
            EXPECT_EQ(f.size(), 17u);
            if (f.size() == 17) written.push_back(f[4] + "|" + f[8] + "|" + f[9] + "|" + f[11]);
        }
        return written;
    }

    TerminalTempDir dir_;
    std::u16string path_ = dir_.Path("op.log");
    CVLSysLogFile log_;
};

using Lines = std::vector<std::string>;

TEST_F(LogFile, NothingIsWrittenBeforeAnOperationStarts) {
    log_.MessageLog(u"early", VLSYS_LOGLEVEL_ERROR);
    log_.EndLog(0, u"done");
    EXPECT_EQ(Written(), Lines{});
}

TEST_F(LogFile, StartEndAndAbortRecords) {
    log_.StartLog(u"ptbox", u"menu");
    log_.EndLog(0, u"ok");
    log_.EndLog(1, u"failed");
    log_.EndLog(0xFFFFFFFF, u"largest");
    EXPECT_EQ(Written(), (Lines{"1|ptbox|menu|", "2|ptbox|menu|ok", "4|ptbox|menu|failed", "4|ptbox|menu|largest"}));
}

// A missing message is handed on as it is; TarnClog refuses such an end record.
TEST_F(LogFile, NullMessageReachesTarnClogAsNull) {
    log_.StartLog(u"job", u"null");
    log_.EndLog(0, nullptr);
    EXPECT_EQ(TarnClog_GetErrno(), TARNCLOG_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Written(), Lines{"1|job|null|"});
}

// EndLog does not end the operation: later messages still carry its names.
TEST_F(LogFile, NamesOutliveEndLogAndAreReplacedByTheNextStart) {
    log_.StartLog(u"job", u"first");
    log_.EndLog(0, u"ok");
    log_.MessageLog(u"after", VLSYS_LOGLEVEL_NORMAL);
    log_.StartLog(u"job", u"second");
    log_.MessageLog(u"m", VLSYS_LOGLEVEL_NORMAL);
    EXPECT_EQ(Written(), (Lines{"1|job|first|", "2|job|first|ok", "8|job|first|after", "1|job|second|", "8|job|second|m"}));
}

TEST_F(LogFile, MessagesAboveTheThresholdAreDropped) {
    log_.StartLog(u"job", u"levels");
    for (int level : {10, 11}) log_.MessageLog(u"default", static_cast<VelaSysLogLevel>(level));
    log_.SetLogLevel(VLSYS_LOGLEVEL_ERROR);
    for (int level : {1, 0, -5}) log_.MessageLog(u"zero", static_cast<VelaSysLogLevel>(level));
    // Signed: a negative threshold lets only more negative levels through.
    log_.SetLogLevel(static_cast<VelaSysLogLevel>(-3));
    for (int level : {-2, -3}) log_.MessageLog(u"negative", static_cast<VelaSysLogLevel>(level));
    EXPECT_EQ(Written(), (Lines{"1|job|levels|", "8|job|levels|default", "8|job|levels|zero", "8|job|levels|zero",
                                "8|job|levels|negative"}));
}

TEST_F(LogFile, NullNamesStartAnEmptyOperationThatWritesNothingMore) {
    log_.StartLog(nullptr, nullptr);
    log_.MessageLog(u"m", VLSYS_LOGLEVEL_ERROR);
    log_.EndLog(1, u"x");
    EXPECT_EQ(Written(), Lines{"1|||"});
}

TEST_F(LogFile, CopiesWriteUnderTheSameNamesAndLevel) {
    log_.SetLogLevel(VLSYS_LOGLEVEL_WARNING);
    log_.StartLog(u"job", u"copied");
    CVLSysLogFile(log_).MessageLog(u"from copy", VLSYS_LOGLEVEL_WARNING);
    CVLSysLogFile assigned;
    assigned = log_;
    assigned.MessageLog(u"dropped", VLSYS_LOGLEVEL_NORMAL);
    assigned.EndLog(2, u"from assigned");
    EXPECT_EQ(Written(), (Lines{"1|job|copied|", "8|job|copied|from copy", "4|job|copied|from assigned"}));
}

// A socket library whose host name is "HT-77".
int FakeStartup(WORD, LPWSADATA data) { return *data = WSADATA{}, 0; }
int FakeCleanup() { return 0; }
int FakeGethostname(char* name, int length) { return length < 6 ? SOCKET_ERROR : (std::memcpy(name, "HT-77", 6), 0); }

// InitLog takes the user before the device; the address is the terminal's IP address, or
// without one its host name.
TEST_F(LogFile, BaseInformationReachesItsFields) {
    vela::SubstituteModule(u"winsock.dll", {{"WSAStartup", vela::ExportedFunction(&FakeStartup)},
                                            {"WSACleanup", vela::ExportedFunction(&FakeCleanup)},
                                            {"gethostname", vela::ExportedFunction(&FakeGethostname)}});
    log_.InitLog(path_.c_str(), u"user", u"device", 0);
    log_.StartLog(u"job", u"named");
    SetAdapters({MakeAdapter("lo", MIB_IF_TYPE_LOOPBACK, "127.0.0.1"), MakeAdapter("LAN1", MIB_IF_TYPE_ETHERNET, "10.1.2.3")});
    log_.InitLog(path_.c_str(), nullptr, nullptr, 0);
    log_.StartLog(u"job", u"with address");
    SetAdapters({});
    log_.InitLog(path_.c_str(), nullptr, nullptr, 0);
    log_.StartLog(u"job", u"without");

    const auto records = ReadRecords(dir_.HostPath("op.log"));
    ASSERT_EQ(records.size(), 3u);
    // Device, address and user of each record.
    const auto base = [&](size_t i) { return records[i][5] + "|" + records[i][6] + "|" + records[i][7]; };
    EXPECT_EQ(base(0), "device|HT-77|user");
    EXPECT_EQ(base(1), "10.1.2.3|10.1.2.3|operator");  // no device given: the address stands for it
    EXPECT_EQ(base(2), "HT-77|HT-77|operator");
}

TEST_F(LogFile, NullPathMeansTheTerminalsDefaultLog) {
    const std::filesystem::path host = std::filesystem::path(std::getenv("VELA_ROOT")) / "Temp";
    std::filesystem::create_directories(host);
    std::filesystem::remove(host / "TarnLog.log");
    log_.InitLog(nullptr, nullptr, nullptr, 0);
    log_.StartLog(u"job", u"default");
    EXPECT_EQ(ReadRecords(host / "TarnLog.log").size(), 1u);
    EXPECT_EQ(Written(), Lines{});
    std::filesystem::remove(host / "TarnLog.log");
}

}  // namespace
}  // namespace velasystest
