// Writes records from several threads of its own process:
//   tarnclog_probe <log file> <threads> <records per thread> [collector|kill]
// The main thread sets the base information and writes a Start record; then each thread
// writes its Message records; then the main thread writes an End record without pCmd and
// pInfo. With "collector", a collector double that asks for every record stands in for
// "OrelClog.dll". Prints "<process id> <written> <refused> <error number>"; with "kill" the
// process then kills itself at once, so nothing can be flushed on the way out.
#include <TarnClog.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "vela/Modules.h"

namespace {

std::u16string Widen(const char* text) {
    std::u16string out;
    for (; *text != 0; ++text) out += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return out;
}

DWORD AskForRecords() { return 0; }
BOOL Accept(LPCWSTR, LPCWSTR, LPCWSTR, DWORD) { return TRUE; }
BOOL Take(DWORD, LPCWSTR, LPCWSTR, LPCWSTR) { return TRUE; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: tarnclog_probe <log file> <threads> <records per thread> [collector|kill]\n");
        return 2;
    }
    const std::string option = argc == 5 ? argv[4] : "";
    if (option == "collector") {
        vela::SubstituteModule(u"OrelClog.dll", {{"OrelClog_IsMLSMode", vela::ExportedFunction(&AskForRecords)},
                                                 {"OrelClog_SetLogInfo", vela::ExportedFunction(&Accept)},
                                                 {"OrelClog_PutAppLog", vela::ExportedFunction(&Take)}});
    }
    const std::u16string logFile = Widen(argv[1]);
    const int threads = std::atoi(argv[2]);
    const int records = std::atoi(argv[3]);

    TarnClog_SetBaseInfo(logFile.c_str(), nullptr, nullptr, nullptr, 0);
    std::atomic<int> written{0}, refused{0};
    auto count = [&](LONG result) { (result == 0 ? written : refused)++; };
    count(TarnClog_Start(u"PTBOX", u"main"));

    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            std::u16string info = u"thread " + Widen(std::to_string(t).c_str());
            for (int i = 0; i < records; ++i) {
                std::u16string msg = u"record " + Widen(std::to_string(i).c_str()) + u" \"quoted\"";
                count(TarnClog_Message(u"probe", info.c_str(), msg.c_str()));
            }
        });
    }
    for (auto& w : workers) w.join();
    count(TarnClog_End(nullptr, nullptr, u"done"));
    std::printf("%d %d %d %lu\n", static_cast<int>(::getpid()), written.load(), refused.load(),
                static_cast<unsigned long>(TarnClog_GetErrno()));
    std::fflush(stdout);
    if (option == "kill") std::raise(SIGKILL);
    return 0;
}
