// Code page 932 conversion of a 10 MB text file's worth of mixed Japanese and ASCII, the
// way the INI reader and the log writer convert it.
#include <winnls.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// One line: kanji, kana, half-width katakana and ASCII, like a menu or log line.
const char kLine[] = "\x95\x5C\x8E\xA6\x83\x81\x83\x6A\x83\x85\x81\x5B,\xB6\xC0\xB6\xC5,C:\\\x83\x5C\x83\x74\x83\x67\\app.exe,12345\r\n";

std::string MakeText(std::size_t size) {
    std::string text;
    text.reserve(size + sizeof kLine);
    while (text.size() < size) text += kLine;
    return text;
}

void BM_Cp932Decode(benchmark::State& state) {
    const std::string text = MakeText(static_cast<std::size_t>(state.range(0)));
    const int length = static_cast<int>(text.size());
    std::vector<WCHAR> out(text.size());
    for (auto _ : state) {
        const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
        benchmark::DoNotOptimize(MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), needed));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * length);
}
BENCHMARK(BM_Cp932Decode)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_Cp932Encode(benchmark::State& state) {
    const std::string text = MakeText(static_cast<std::size_t>(state.range(0)));
    std::vector<WCHAR> wide(text.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()));
    std::vector<char> out(text.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            WideCharToMultiByte(CP_ACP, 0, wide.data(), units, out.data(), static_cast<int>(out.size()), nullptr, nullptr));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp932Encode)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
