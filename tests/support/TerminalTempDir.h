// A folder of the terminal's file system for one test, removed afterwards. The terminal root
// is a temporary host folder unless VELA_ROOT already names one.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class TerminalTempDir {
public:
    TerminalTempDir() : m_name("t" + std::to_string(::getpid()) + "_" + std::to_string(s_counter++)) {
        std::filesystem::create_directories(HostPath(""));
    }
    ~TerminalTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(HostPath(""), ignored);
    }
    TerminalTempDir(const TerminalTempDir&) = delete;
    TerminalTempDir& operator=(const TerminalTempDir&) = delete;

    // The terminal path \<folder>\<name>.
    std::u16string Path(std::string_view name) const {
        std::u16string path(u"\\");
        for (char c : m_name + "\\" + std::string(name)) path += static_cast<char16_t>(static_cast<unsigned char>(c));
        return path;
    }
    std::filesystem::path HostPath(std::string_view name) const { return Root() / m_name / name; }

    // Writes the bytes as given; with crlf, each LF becomes the CR LF of the terminal's files.
    std::u16string Write(std::string_view name, std::string_view bytes, bool crlf = false) const {
        std::string text;
        for (char c : bytes) text += (crlf && c == '\n') ? std::string("\r\n") : std::string(1, c);
        std::ofstream(HostPath(name), std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        return Path(name);
    }

private:
    static const std::filesystem::path& Root() {
        static const std::filesystem::path root = [] {
            if (const char* set = std::getenv("VELA_ROOT"); set != nullptr && *set != 0) return std::filesystem::path(set);
            std::string made = (std::filesystem::temp_directory_path() / "vela-root-XXXXXX").string();
            if (::mkdtemp(made.data()) == nullptr) std::abort();
            ::setenv("VELA_ROOT", made.c_str(), 1);
            std::atexit([] {
                std::error_code ignored;
                std::filesystem::remove_all(std::getenv("VELA_ROOT"), ignored);
            });
            return std::filesystem::path(made);
        }();
        return root;
    }

    static inline std::atomic<int> s_counter{0};
    std::string m_name;
};
