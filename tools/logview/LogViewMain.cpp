// vela-logview: prints an operation log (code page 932, 17 quoted fields a line) as a table in
// UTF-8, and with --follow keeps printing the records that are appended.
//
//   vela-logview [--follow] [--interval MS] FILE
//
// FILE is a terminal path (\Temp\ope.log, under VELA_ROOT) or a path of the host.
#include <vela/TerminalFileSystem.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "LogFollower.h"
#include "LogTable.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vela-logview [--follow] [--interval MS] FILE\n"
                 "  FILE  an operation log: a terminal path (\\Temp\\ope.log, under VELA_ROOT) or a host path\n"
                 "  --follow, -f   keep printing records as they are appended (Ctrl+C ends)\n"
                 "  --interval MS  how often --follow looks at the file (default 500)\n");
    return 2;
}

std::string HostPath(const std::string& path) {
    if (path.empty() || (path[0] != '\\')) return path;
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::u16string wide(static_cast<size_t>(size > 0 ? size : 1), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return vela::HostPathAsSpelled(wide);
}

void Print(const vela::logview::LogTable& table, const std::string& line) {
    if (line.empty()) return;
    const auto record = vela::logview::ParseLogLine(line);
    std::fputs(record ? table.Row(*record).c_str() : vela::logview::LogTable::Unreadable(line).c_str(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
    bool follow = false;
    long interval = 500;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--follow") || !std::strcmp(argv[i], "-f")) {
            follow = true;
        } else if (!std::strcmp(argv[i], "--interval") && i + 1 < argc) {
            interval = std::strtol(argv[++i], nullptr, 10);
            if (interval <= 0) return Usage();
        } else if (argv[i][0] == '-' || !path.empty()) {
            return Usage();
        } else {
            path = argv[i];
        }
    }
    if (path.empty()) return Usage();

    vela::logview::LogFollower log(HostPath(path));
    std::vector<std::string> lines = log.ReadNewLines();
    if (!log.Exists() && !follow) {
        std::fprintf(stderr, "vela-logview: cannot open %s\n", path.c_str());
        return 1;
    }
    // Columns fit what is there now; rows appended later keep these widths.
    vela::logview::LogTable table;
    for (const auto& line : lines) {
        if (auto record = vela::logview::ParseLogLine(line)) table.Fit(*record);
    }
    std::fputs(table.Header().c_str(), stdout);
    for (const auto& line : lines) Print(table, line);
    std::fflush(stdout);
    while (follow) {
        std::this_thread::sleep_for(std::chrono::milliseconds(interval));
        for (const auto& line : log.ReadNewLines()) Print(table, line);
        std::fflush(stdout);
    }
    return 0;
}
