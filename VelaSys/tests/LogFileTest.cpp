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

// One log line split into its quoted fields (a doubled quote inside is one quote).
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

// The parts of a record these tests look at: kind, device, user, names and message.
struct Record {
    std::string kind, device, user, cmd, info, msg;
    bool operator==(const Record&) const = default;
};

void PrintTo(const Record& r, std::ostream* os) {
    *os << "{" << r.kind << ", dev=" << r.device << ", user=" << r.user << ", " << r.cmd << ", " << r.info
        << ", msg=" << r.msg << "}";
}

Record Named(std::string kind, std::string cmd, std::string info, std::string msg = "") {
    return Record{std::move(kind), "", "", std::move(cmd), std::move(info), std::move(msg)};
}

class LogFile : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        log_.InitLog(path_.c_str(), u"user", u"device", 0);
    }

    // All fields of the first record.
    std::vector<std::string> FirstRecordFields() const {
        std::ifstream in(dir_.HostPath("op.log"), std::ios::binary);
        std::string line;
        std::getline(in, line);
        return Fields(line.substr(0, line.find('\r')));
    }

    std::vector<Record> Records(const std::string& name = "op.log") const {
        std::ifstream in(dir_.HostPath(name), std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        std::vector<Record> records;
        for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const auto f = Fields(bytes.substr(start, end - start));
            if (f.size() != 17) {
                ADD_FAILURE() << "not a record: " << bytes.substr(start, end - start);
                continue;
            }
            records.push_back(Record{f[4], "", "", f[8], f[9], f[11]});
        }
        return records;
    }

    TerminalTempDir dir_;
    std::u16string path_ = dir_.Path("op.log");
    CVLSysLogFile log_;
};

TEST_F(LogFile, NothingIsWrittenBeforeAnOperationStarts) {
    log_.MessageLog(u"early", VLSYS_LOGLEVEL_ERROR);
    log_.EndLog(0, u"done");
    EXPECT_TRUE(Records().empty());
}

TEST_F(LogFile, StartEndAndAbortRecords) {
    log_.StartLog(u"ptbox", u"menu");
    log_.EndLog(0, u"ok");
    log_.EndLog(1, u"failed");
    log_.EndLog(0xFFFFFFFF, u"largest");
    EXPECT_EQ(Records(), (std::vector<Record>{Named("1", "ptbox", "menu"), Named("2", "ptbox", "menu", "ok"),
                                              Named("4", "ptbox", "menu", "failed"),
                                              Named("4", "ptbox", "menu", "largest")}));
}

// A missing message is handed on as it is; TarnClog refuses such an end record.
TEST_F(LogFile, NullMessageReachesTarnClogAsNull) {
    log_.StartLog(u"job", u"null");
    log_.EndLog(0, nullptr);
    EXPECT_EQ(TarnClog_GetErrno(), TARNCLOG_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Records(), (std::vector<Record>{Named("1", "job", "null")}));
}

// EndLog does not end the operation: later messages still carry its names.
TEST_F(LogFile, NamesOutliveEndLogAndAreReplacedByTheNextStart) {
    log_.StartLog(u"job", u"first");
    log_.EndLog(0, u"ok");
    log_.MessageLog(u"after", VLSYS_LOGLEVEL_NORMAL);
    log_.StartLog(u"job", u"second");
    log_.MessageLog(u"m", VLSYS_LOGLEVEL_NORMAL);
    EXPECT_EQ(Records(), (std::vector<Record>{Named("1", "job", "first"), Named("2", "job", "first", "ok"),
                                              Named("8", "job", "first", "after"), Named("1", "job", "second"),
                                              Named("8", "job", "second", "m")}));
}

TEST_F(LogFile, MessagesAboveTheThresholdAreDropped) {
    log_.StartLog(u"job", u"levels");
    log_.MessageLog(u"10", static_cast<VelaSysLogLevel>(10));
    log_.MessageLog(u"11", static_cast<VelaSysLogLevel>(11));
    log_.SetLogLevel(VLSYS_LOGLEVEL_ERROR);
    log_.MessageLog(u"1", static_cast<VelaSysLogLevel>(1));
    log_.MessageLog(u"0", static_cast<VelaSysLogLevel>(0));
    log_.MessageLog(u"-5", static_cast<VelaSysLogLevel>(-5));
    // The comparison is signed: a negative threshold lets only more negative levels through.
    log_.SetLogLevel(static_cast<VelaSysLogLevel>(-3));
    log_.MessageLog(u"-2", static_cast<VelaSysLogLevel>(-2));
    log_.MessageLog(u"-3", static_cast<VelaSysLogLevel>(-3));
    std::vector<std::string> written;
    for (const Record& r : Records()) {
        if (r.kind == "8") written.push_back(r.msg);
    }
    EXPECT_EQ(written, (std::vector<std::string>{"10", "0", "-5", "-3"}));
}

TEST_F(LogFile, NullNamesStartAnEmptyOperationThatWritesNothingMore) {
    log_.StartLog(nullptr, nullptr);
    log_.MessageLog(u"m", VLSYS_LOGLEVEL_ERROR);
    log_.EndLog(1, u"x");
    EXPECT_EQ(Records(), (std::vector<Record>{Named("1", "", "")}));
}

TEST_F(LogFile, CopiesWriteUnderTheSameNamesAndLevel) {
    log_.SetLogLevel(VLSYS_LOGLEVEL_WARNING);
    log_.StartLog(u"job", u"copied");
    const CVLSysLogFile copy(log_);
    CVLSysLogFile assigned;
    assigned = log_;
    CVLSysLogFile(copy).MessageLog(u"from copy", VLSYS_LOGLEVEL_WARNING);
    assigned.MessageLog(u"dropped", VLSYS_LOGLEVEL_NORMAL);
    assigned.EndLog(2, u"from assigned");
    EXPECT_EQ(Records(), (std::vector<Record>{Named("1", "job", "copied"), Named("8", "job", "copied", "from copy"),
                                              Named("4", "job", "copied", "from assigned")}));
}

// InitLog takes user before device; the records hold them in their own places.
TEST_F(LogFile, UserAndDeviceReachTheirFields) {
    log_.StartLog(u"job", u"who");
    const auto f = FirstRecordFields();
    ASSERT_EQ(f.size(), 17u);
    EXPECT_EQ(f[5], "device");
    EXPECT_EQ(f[7], "user");
}

// A socket library whose host name is "HT-77".
int FakeStartup(WORD, LPWSADATA data) {
    *data = WSADATA{};
    return 0;
}
int FakeCleanup() { return 0; }
int FakeGethostname(char* name, int length) {
    if (length < 6) return SOCKET_ERROR;
    std::memcpy(name, "HT-77", 6);
    return 0;
}

// The records carry the terminal's IP address, and without one its host name.
TEST_F(LogFile, AddressIsTheTerminalsIpAddressOrHostName) {
    vela::SubstituteModule(u"winsock.dll", {{"WSAStartup", vela::ExportedFunction(&FakeStartup)},
                                            {"WSACleanup", vela::ExportedFunction(&FakeCleanup)},
                                            {"gethostname", vela::ExportedFunction(&FakeGethostname)}});
    SetAdapters({MakeAdapter("lo", MIB_IF_TYPE_LOOPBACK, "127.0.0.1"), MakeAdapter("LAN1", MIB_IF_TYPE_ETHERNET, "10.1.2.3")});
    log_.InitLog(path_.c_str(), nullptr, nullptr, 0);
    log_.StartLog(u"job", u"with address");
    SetAdapters({});
    log_.InitLog(path_.c_str(), nullptr, nullptr, 0);
    log_.StartLog(u"job", u"without");

    std::ifstream in(dir_.HostPath("op.log"), std::ios::binary);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    const auto a = Fields(first.substr(0, first.find('\r')));
    const auto b = Fields(second.substr(0, second.find('\r')));
    ASSERT_EQ(a.size(), 17u);
    ASSERT_EQ(b.size(), 17u);
    EXPECT_EQ(a[6], "10.1.2.3");
    EXPECT_EQ(a[5], "10.1.2.3");  // no device given: the address stands for it
    EXPECT_EQ(b[6], "HT-77");
}

TEST_F(LogFile, NullPathMeansTheTerminalsDefaultLog) {
    const std::filesystem::path host = std::filesystem::path(std::getenv("VELA_ROOT")) / "Temp";
    std::filesystem::create_directories(host);
    std::filesystem::remove(host / "TarnLog.log");
    CVLSysLogFile log;
    log.InitLog(nullptr, nullptr, nullptr, 0);
    log.StartLog(u"job", u"default");
    EXPECT_TRUE(std::filesystem::exists(host / "TarnLog.log"));
    EXPECT_TRUE(Records().empty());
    std::filesystem::remove(host / "TarnLog.log");
}

}  // namespace
}  // namespace velasystest
