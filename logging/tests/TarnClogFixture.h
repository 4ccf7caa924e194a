// Shared set-up of the logging library's tests: a terminal folder for the log file, the
// platform clock standing at 2010/8/4 9:05:07 local time, module overrides undone after each
// test, and a collector and a socket library that answer as each test needs.
#pragma once

#include <TarnClog.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Modules.h declares __dso_handle, which the compiler declares on its own once a static local
// with a destructor or an atexit call was seen; it must come first.
#include "vela/Modules.h"
#include "vela/Clock.h"
#include "PrivateTerminalRoot.h"
#include "TerminalTempDir.h"

namespace tarntest {

// The socket library double: gethostname gives name unless one of the steps is told to fail.
struct FakeWinsock {
    std::string name = "HT-01";
    bool startupFails = false;
    bool gethostnameFails = false;
    int startups = 0, cleanups = 0;
};
extern FakeWinsock g_winsock;
// Puts the double in place of "winsock.dll"; without gethostname when asked.
void InstallWinsock(bool withGethostname = true);

// The collector double. Strings it is handed are kept as given (NULL stays NULL).
struct FakeCollector {
    DWORD mode = 0;
    BOOL setResult = TRUE;
    BOOL putResult = TRUE;
    int setCalls = 0, putCalls = 0;
    std::u16string address, device, user;
    DWORD logId = 0;
    DWORD kind = 0;
    LPCWSTR cmd = nullptr, info = nullptr, msg = nullptr;
};
extern FakeCollector g_collector;
enum CollectorExports : unsigned { kIsMLSMode = 1, kSetLogInfo = 2, kPutAppLog = 4, kAllExports = 7 };
void InstallCollector(unsigned exports = kAllExports);

// ASCII text as bytes; anything else becomes "?".
std::string Narrow(const std::u16string& text);

// Splits a log file's bytes into lines (CR LF kept off) and a line into its quoted fields.
std::vector<std::string> Lines(const std::string& bytes);
std::vector<std::string> Fields(const std::string& line);

class TarnClogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the base information with the test's log file and a host name of "HT-01".
    void SetBase(LPCWSTR address = nullptr, LPCWSTR device = nullptr, LPCWSTR user = nullptr, DWORD logId = 0);
    std::string LogBytes() const;
    std::vector<std::string> LogLines() const { return Lines(LogBytes()); }
    std::string Pid() const;

    TerminalTempDir dir_;
    vela::ScopedModuleOverrides modules_;
    std::u16string log_ = dir_.Path("op.log");
};

}  // namespace tarntest
