// A folder of the terminal's file system for one test, removed afterwards. The terminal root
// is a temporary host folder unless VELA_ROOT already names one.
#pragma once

#include <windows.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class TerminalTempDir {
public:
    TerminalTempDir() {
        static std::atomic<int> counter{0};
        m_name = "t" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        m_host = HostRoot() / m_name;
        std::filesystem::create_directories(m_host);
    }
    ~TerminalTempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_host, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_host, ignored);
    }
    TerminalTempDir(const TerminalTempDir&) = delete;
    TerminalTempDir& operator=(const TerminalTempDir&) = delete;

    // The terminal path of a file in this folder: \<folder>\<name>.
    std::u16string Path(std::string_view name) const {
        std::u16string path = u"\\";
        for (char c : m_name) path += static_cast<char16_t>(c);
        path += u'\\';
        for (char c : name) path += static_cast<char16_t>(static_cast<unsigned char>(c));
        return path;
    }
    std::filesystem::path HostPath(std::string_view name) const { return m_host / std::string(name); }

    // Writes the bytes as they are (code page 932 text, CR LF ends, or anything else).
    std::u16string Write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(HostPath(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }

    // Copies a file of the test data folder into this folder.
    std::u16string CopyData(std::string_view name) const {
        std::filesystem::copy_file(std::filesystem::path(VELA_TEST_DATA) / std::string(name), HostPath(name),
                                   std::filesystem::copy_options::overwrite_existing);
        return Path(name);
    }

private:
    static std::filesystem::path HostRoot() {
        static const std::filesystem::path root = [] {
            if (const char* set = std::getenv("VELA_ROOT"); set != nullptr && *set != 0) {
                std::filesystem::create_directories(set);
                return std::filesystem::path(set);
            }
            std::string pattern = (std::filesystem::temp_directory_path() / "vela-root-XXXXXX").string();
            const char* made = ::mkdtemp(pattern.data());
            std::string path = made != nullptr ? made : pattern;
            ::setenv("VELA_ROOT", path.c_str(), 1);
            CreatedRoot() = path;
            std::atexit([] {
                std::error_code ignored;
                std::filesystem::remove_all(CreatedRoot(), ignored);
            });
            return std::filesystem::path(path);
        }();
        return root;
    }

    static std::filesystem::path& CreatedRoot() {
        static std::filesystem::path created;
        return created;
    }

    std::string m_name;
    std::filesystem::path m_host;
};

// Text with LF line ends turned into the CR LF of files written on the terminal.
inline std::string Crlf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}
