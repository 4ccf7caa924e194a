#include "TarnClogFixture.h"

#include <unistd.h>

#include <winsock.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace tarntest {

FakeWinsock g_winsock;
FakeCollector g_collector;

namespace {

int FakeStartup(WORD, LPWSADATA data) {
    ++g_winsock.startups;
    std::memset(data, 0, sizeof *data);
    return g_winsock.startupFails ? WSASYSNOTREADY : 0;
}
int FakeCleanup() { return ++g_winsock.cleanups, 0; }
int FakeGethostname(char* name, int length) {
    if (g_winsock.gethostnameFails || static_cast<int>(g_winsock.name.size()) >= length) return SOCKET_ERROR;
    std::memcpy(name, g_winsock.name.c_str(), g_winsock.name.size() + 1);
    return 0;
}

DWORD FakeIsMLSMode() { return g_collector.mode; }
BOOL FakeSetLogInfo(LPCWSTR address, LPCWSTR device, LPCWSTR user, DWORD logId) {
    ++g_collector.setCalls;
    g_collector.address = address ? address : u"(null)";
    g_collector.device = device ? device : u"(null)";
    g_collector.user = user ? user : u"(null)";
    g_collector.logId = logId;
    return g_collector.setResult;
}
BOOL FakePutAppLog(DWORD kind, LPCWSTR cmd, LPCWSTR info, LPCWSTR msg) {
    ++g_collector.putCalls;
    g_collector.kind = kind;
    g_collector.cmd = cmd;
    g_collector.info = info;
    g_collector.msg = msg;
    return g_collector.putResult;
}

}  // namespace

void InstallWinsock(bool withGethostname) {
    vela::ModuleExports exports{{"WSAStartup", vela::ExportedFunction(&FakeStartup)},
                                {"WSACleanup", vela::ExportedFunction(&FakeCleanup)}};
    if (withGethostname) exports.emplace("gethostname", vela::ExportedFunction(&FakeGethostname));
    vela::SubstituteModule(u"winsock.dll", exports);
}

void InstallCollector(unsigned exports) {
    vela::ModuleExports table;
    if (exports & kIsMLSMode) table.emplace("OrelClog_IsMLSMode", vela::ExportedFunction(&FakeIsMLSMode));
    if (exports & kSetLogInfo) table.emplace("OrelClog_SetLogInfo", vela::ExportedFunction(&FakeSetLogInfo));
    if (exports & kPutAppLog) table.emplace("OrelClog_PutAppLog", vela::ExportedFunction(&FakePutAppLog));
    vela::SubstituteModule(u"OrelClog.dll", table);
}

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    if (start != bytes.size()) lines.push_back(bytes.substr(start) + "<no line end>");
    return lines;
}

// Quoted fields as the log's readers take them: a doubled quote inside a field is one quote.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] != '"') return {"<unquoted field>"};
        std::string field;
        for (++i;; ++i) {
            if (i >= line.size()) return {"<open quote>"};
            if (line[i] == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            field += line[i];
        }
        fields.push_back(field);
        if (i < line.size() && line[i++] != ',') return {"<junk after field>"};
    }
    return fields;
}

void TarnClogTest::SetUp() {
    vela::clock::SetZoneBias(0);
    vela::clock::UseManual(SYSTEMTIME{2010, 8, 3, 4, 9, 5, 7, 250});
    g_winsock = FakeWinsock{};
    g_collector = FakeCollector{};
    InstallWinsock();
    vela::HideModule(u"OrelClog.dll");
}

void TarnClogTest::TearDown() {
    vela::clock::UseHost();
    vela::clock::SetZoneBias(std::nullopt);
}

void TarnClogTest::SetBase(LPCWSTR address, LPCWSTR device, LPCWSTR user, DWORD logId) {
    TarnClog_SetBaseInfo(log_.c_str(), address, device, user, logId);
}

std::string TarnClogTest::LogBytes() const {
    std::ifstream in(dir_.HostPath("op.log"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TarnClogTest::Pid() const { return std::to_string(::getpid()); }

}  // namespace tarntest
