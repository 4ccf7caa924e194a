// Records per second of TarnClog_Start into a log file on local disk and on tmpfs, beside the
// floor: a plain loop that opens with O_APPEND, writes a line of the same length and closes.
#include <TarnClog.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// One terminal root on local disk; its folder "shm" is a link to a folder on tmpfs, so both
// kinds of storage are reached through the same root.
struct Roots {
    fs::path disk, tmpfs;
    Roots() {
        const char* base = std::getenv("TARNCLOG_BENCH_DISK");
        std::string made = (fs::path(base ? base : "/var/tmp") / "tarnclog-bench-XXXXXX").string();
        disk = ::mkdtemp(made.data());
        std::string shm = "/dev/shm/tarnclog-bench-XXXXXX";
        tmpfs = ::mkdtemp(shm.data());
        fs::create_symlink(tmpfs, disk / "shm");
        ::setenv("VELA_ROOT", disk.c_str(), 1);
    }
    ~Roots() {
        std::error_code ignored;
        fs::remove_all(disk, ignored);
        fs::remove_all(tmpfs, ignored);
    }
};

Roots& TheRoots() {
    static Roots roots;
    return roots;
}

// The length of the line TarnClog_Start writes with these base texts, measured once.
size_t LineLength() {
    static const size_t length = [] {
        TheRoots();
        TarnClog_SetBaseInfo(u"\\probe.log", u"10.20.30.40", u"RT-0001", u"operator", 12345);
        TarnClog_Start(u"ptbox", u"benchmark");
        std::error_code ignored;
        size_t size = fs::file_size(TheRoots().disk / "probe.log", ignored);
        fs::remove(TheRoots().disk / "probe.log", ignored);
        return size;
    }();
    return length;
}

void BM_TarnClogStart(benchmark::State& state, const char16_t* log) {
    LineLength();
    TarnClog_SetBaseInfo(log, u"10.20.30.40", u"RT-0001", u"operator", 12345);
    for (auto _ : state) {
        if (TarnClog_Start(u"ptbox", u"benchmark") != 0) {
            state.SkipWithError("TarnClog_Start failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// The same append through the platform's file functions alone: what is left of a record's
// time beyond it is the library's own (composing, converting).
void BM_PlatformAppend(benchmark::State& state, const char16_t* log) {
    std::string line(LineLength() - 2, 'x');
    line += "\r\n";
    for (auto _ : state) {
        HANDLE file = CreateFileW(log, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        LONG high = 0;
        if (file == INVALID_HANDLE_VALUE) {
            state.SkipWithError("CreateFileW failed");
            break;
        }
        SetFilePointer(file, 0, &high, FILE_END);
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_PlainAppend(benchmark::State& state, bool onTmpfs) {
    std::string line(LineLength() - 2, 'x');
    line += "\r\n";
    // Through the same link as the library's records, so both walk the same path.
    std::string path = (TheRoots().disk / (onTmpfs ? "shm/plain.log" : "plain.log")).string();
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
        if (fd < 0 || ::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            state.SkipWithError("plain append failed");
            break;
        }
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
    ::unlink(path.c_str());
}

BENCHMARK_CAPTURE(BM_TarnClogStart, disk, u"\\disk.log");
BENCHMARK_CAPTURE(BM_PlatformAppend, disk, u"\\platform.log");
BENCHMARK_CAPTURE(BM_PlainAppend, disk, false);
BENCHMARK_CAPTURE(BM_TarnClogStart, tmpfs, u"\\shm\\tmpfs.log");
BENCHMARK_CAPTURE(BM_PlatformAppend, tmpfs, u"\\shm\\platform.log");
BENCHMARK_CAPTURE(BM_PlainAppend, tmpfs, true);

}  // namespace

BENCHMARK_MAIN();
