// Reading specification files: CVLSysIniFile::Create against inih on the same generated 10 MB
// file (code page 932 with CR LF), a look-up, and CVLFWMenuSpec::Read of a 100-entry menu.
//
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build/rel --target ini_bench
//   build/rel/bin/ini_bench --benchmark_min_time=2
#include <VelaFW.h>

#include <benchmark/benchmark.h>
#include <ini.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>

namespace {

namespace fs = std::filesystem;

// Code page 932 text. 表 and ソ end in the byte of "\", ー in that of "[" and ゾ in that of "]".
const char* const kJapanese[] = {
    "\x95\x5C\x8E\xA6",                  // 表示
    "\x83\x5C\x81\x5B\x83\x58",          // ソース
    "\x83\x5D\x81\x5B\x83\x93",          // ゾーン
    "\x93\xFA\x96\x7B\x8C\xEA",          // 日本語
    "\x83\x66\x81\x5B\x83\x5E",          // データ
    "\x83\x65\x83\x58\x83\x67",          // テスト
    "\x8F\x6F\x89\xD7\x8C\x9F\x95\x69",  // 出荷検品
};
constexpr size_t kJapaneseCount = sizeof(kJapanese) / sizeof(kJapanese[0]);

// The terminal root holding the generated files; a temporary folder unless VELA_ROOT is set.
const fs::path& Root() {
    static const fs::path root = [] {
        if (const char* set = std::getenv("VELA_ROOT"); set != nullptr && *set != 0) return fs::path(set);
        std::string pattern = (fs::temp_directory_path() / "vela-bench-XXXXXX").string();
        const char* made = ::mkdtemp(pattern.data());
        ::setenv("VELA_ROOT", made != nullptr ? made : pattern.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(std::getenv("VELA_ROOT"), ignored);
        });
        return fs::path(std::getenv("VELA_ROOT"));
    }();
    return root;
}

// About 10 MB: sections of 5 to 20 keys, Japanese values, a comment now and then. Lines stay
// shorter than inih's 200-byte line limit.
const fs::path& SpecFile() {
    static const fs::path path = [] {
        fs::path file = Root() / "spec.ini";
        std::string text;
        text.reserve(10u << 20);
        uint32_t state = 20261207;
        auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        for (int section = 0; text.size() < (10u << 20); ++section) {
            text += "[";
            text += (section % 7 == 0) ? kJapanese[section / 7 % kJapaneseCount] : "Section";
            text += std::to_string(section) + "]\r\n";
            if (section % 5 == 0) text += "; " + std::string(kJapanese[3]) + " comment\r\n";
            const uint32_t keys = 5 + next() % 16;
            for (uint32_t k = 0; k < keys; ++k) {
                text += "Key" + std::to_string(k) + " = ";
                const uint32_t words = 1 + next() % 6;
                for (uint32_t w = 0; w < words; ++w) {
                    text += kJapanese[next() % kJapaneseCount];
                    if (w % 2 == 1) text += " \\Temp\\" + std::to_string(next() % 1000);
                }
                text += "\r\n";
            }
            text += "\r\n";
        }
        std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        return file;
    }();
    return path;
}

// A menu of 100 entries: labels, programs and sub-menus with every key set.
const fs::path& MenuFile() {
    static const fs::path path = [] {
        fs::path file = Root() / "menu.mnu";
        std::string text = "; menu\r\n";
        for (int i = 1; i <= 100; ++i) {
            char number[8];
            std::snprintf(number, sizeof number, "%02d", i);
            text += std::string("[") + number + "]\r\n";
            if (i % 10 == 1) {
                text += "KIND=1\r\nTEXT=" + std::string(kJapanese[i % kJapaneseCount]) + "\r\n\r\n";
                continue;
            }
            text += "KIND=2\r\nTEXT=" + std::string(kJapanese[i % kJapaneseCount]) + std::to_string(i) + "\r\n";
            text += (i % 4 == 0) ? "EXEPATH=\\Menu\\Sub" + std::to_string(i) + ".mnu\r\n"
                                 : "EXEPATH=\\Program Files\\Vela\\JobApp.exe\r\n";
            text += "ENVPATH=/job:" + std::to_string(i) + ";quick\r\nCURRENTPATH=\\Program Files\\Vela\r\n";
            text += "RUNSIZE=" + std::to_string(i % 3) + "\r\nLOGON=" + std::to_string(i % 2) + "\r\nUSRNAME=\r\n\r\n";
        }
        std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        return file;
    }();
    return path;
}

void SetBytes(benchmark::State& state, const fs::path& file) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(file)));
}

// (a) The kit's reader: decode, parse, store every pair.
void BM_VelaIniCreate(benchmark::State& state) {
    SpecFile();
    for (auto _ : state) {
        CVLSysIniFile ini;
        benchmark::DoNotOptimize(ini.Create(u"\\spec.ini"));
    }
    SetBytes(state, SpecFile());
}
BENCHMARK(BM_VelaIniCreate)->Unit(benchmark::kMillisecond);

// (b) inih storing every pair, bytes undecoded, keyed by section + key.
int StoreBytes(void* user, const char* section, const char* name, const char* value) {
    auto& map = *static_cast<std::unordered_map<std::string, std::string>*>(user);
    std::string key(section);
    key += '\x01';
    key += name;
    map[std::move(key)] = value;
    return 1;
}

void BM_InihUnorderedMap(benchmark::State& state) {
    const std::string path = SpecFile().string();
    for (auto _ : state) {
        std::unordered_map<std::string, std::string> map;
        benchmark::DoNotOptimize(ini_parse(path.c_str(), StoreBytes, &map));
    }
    SetBytes(state, SpecFile());
}
BENCHMARK(BM_InihUnorderedMap)->Unit(benchmark::kMillisecond);

// (c) What the kit does, built from inih: pairs decoded from code page 932 to UTF-16 with
// iconv and stored in a hash map of UTF-16 strings.
struct DecodingStore {
    iconv_t cd;
    std::unordered_map<std::u16string, std::u16string> map;

    std::u16string Decode(const char* text) {
        size_t inLeft = std::char_traits<char>::length(text);
        std::u16string out(inLeft, u'\0');
        char* in = const_cast<char*>(text);
        char* outPtr = reinterpret_cast<char*>(out.data());
        size_t outLeft = out.size() * sizeof(char16_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.resize(out.size() - outLeft / sizeof(char16_t));
        return out;
    }
};

int StoreDecoded(void* user, const char* section, const char* name, const char* value) {
    auto& store = *static_cast<DecodingStore*>(user);
    std::u16string key = store.Decode(section);
    key += u'\x01';
    key += store.Decode(name);
    store.map[std::move(key)] = store.Decode(value);
    return 1;
}

void BM_InihIconvUnorderedMap(benchmark::State& state) {
    const std::string path = SpecFile().string();
    for (auto _ : state) {
        DecodingStore store{iconv_open("UTF-16LE", "CP932"), {}};
        benchmark::DoNotOptimize(ini_parse(path.c_str(), StoreDecoded, &store));
        iconv_close(store.cd);
    }
    SetBytes(state, SpecFile());
}
BENCHMARK(BM_InihIconvUnorderedMap)->Unit(benchmark::kMillisecond);

// (d) One look-up of an existing key, answered from memory.
void BM_VelaGetPrivateProfileString(benchmark::State& state) {
    static CVLSysIniFile* ini = [] {
        auto* loaded = new CVLSysIniFile;
        SpecFile();
        loaded->Create(u"\\spec.ini");
        return loaded;
    }();
    WCHAR buffer[2048];
    for (auto _ : state) {
        benchmark::DoNotOptimize(ini->GetPrivateProfileString(u"Section1234", u"Key3", u"", buffer, 2048));
    }
    if (ini->GetPrivateProfileString(u"Section1234", u"Key3", u"", buffer, 2048) == 0) {
        state.SkipWithError("key not found");
    }
}
BENCHMARK(BM_VelaGetPrivateProfileString);

// (e) A 100-entry menu: the kit's whole Read against inih's bare parse of the same file.
void BM_VelaMenuRead(benchmark::State& state) {
    MenuFile();
    CVLFWMenuSpec spec;
    for (auto _ : state) {
        benchmark::DoNotOptimize(spec.Read(u"\\menu.mnu", u"Menu", nullptr));
    }
    if (spec.GetSize() != 100) state.SkipWithError("menu not read whole");
    SetBytes(state, MenuFile());
}
BENCHMARK(BM_VelaMenuRead)->Unit(benchmark::kMicrosecond);

int Ignore(void*, const char*, const char*, const char*) { return 1; }

void BM_InihMenuParse(benchmark::State& state) {
    const std::string path = MenuFile().string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ini_parse(path.c_str(), Ignore, nullptr));
    }
    SetBytes(state, MenuFile());
}
BENCHMARK(BM_InihMenuParse)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
